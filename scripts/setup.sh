#!/usr/bin/env bash
# Installs what the build needs on Debian 12 when it is missing, quickly
# skipping the step when everything is there. Sourced by run.sh and test.sh.
zmp_packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
              libbenchmark-dev xvfb xauth)
zmp_packages+=(libcli11-dev nlohmann-json3-dev libyaml-cpp-dev)
# The icon (Qt SVG) and the Debian package with its checks.
zmp_packages+=(qt6-svg-dev dpkg-dev file desktop-file-utils appstream man-db groff-base)
# clang and its libFuzzer runtime: the fuzz targets, and a second compiler's warnings.
zmp_packages+=(clang libclang-rt-dev)
# The printed listing: a font for its PDFs, and poppler's pdftotext/pdfinfo for its tests.
zmp_packages+=(fonts-dejavu-core poppler-utils)
zmp_install_missing() {
  local missing=()
  for p in "${zmp_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}
zmp_jobs() { nproc 2>/dev/null || echo 2; }
