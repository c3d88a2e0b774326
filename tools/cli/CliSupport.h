// What the file commands of zmp318t-cli share: the language file, option
// parsing, block files and the messages of failed reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"

namespace zmp::cli {

// Loads the language file beside the tool or the installed one; prints why
// not and returns false when it cannot.
bool LoadToolTexts(const char* command);

// Splits arguments into positional ones and "--name value" options; returns
// false (after printing the usage) on an unknown option or a missing value.
struct ParsedArgs {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  std::optional<std::string> Option(const std::string& name) const;
};
bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& knownOptions,
               const char* usage, ParsedArgs& out);

// A whole number in decimal or 0x hex within [min, max].
std::optional<long> ParseNumber(const std::string& text, long min, long max);

// Writes bytes to path; prints the reason and returns false on failure.
bool WriteBlockFile(const std::string& path, const std::vector<std::uint8_t>& bytes, const char* command);
// Reads a block file that must hold exactly size bytes.
std::optional<std::vector<std::uint8_t>> ReadBlockFile(const std::string& path, std::size_t size,
                                                       const char* command);

// "zmp318t-cli CMD: FILE: message" on stderr.
void PrintFailure(const char* command, const std::string& file, const std::string& message);

// The message of a failed data-file read, from the language file.
std::string ReadFailureText(const DataFileResult& r, const std::string& path);

// Reads a data file into the transfer copy; a protected one with password
// (nothing: the file's own, so that inspecting needs none).
DataFileResult LoadForInspection(const std::string& path, ImageStore& image,
                                 const std::optional<std::string>& password, bool* hasPassword = nullptr,
                                 std::uint8_t* key = nullptr);

// The model record of model INDEX with band WORD (no band: the model's first
// one). Prints the models or the model's bands and returns nothing when
// either does not exist.
// The model indexes and each model's band words with their bands, in words,
// for the help of the commands that take --model and --band.
std::string ModelAndBandWords();
std::optional<ModelRecord> ChooseModelRecord(const std::string& modelText,
                                             const std::optional<std::string>& bandText, const char* command);

}  // namespace zmp::cli
