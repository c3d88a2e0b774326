// What the commands of zmp318t-cli share: the language file, numbers typed
// as options, block files, reading and rewriting data files and the messages
// of failed reads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/SafeFile.h"

namespace zmp::cli {

// Loads the language file beside the tool or the installed one (English, the
// decimal point '.', so that scripts see the same texts on every machine);
// prints why not and returns false when it cannot.
bool LoadToolTexts(const char* command);

// A whole number in decimal or 0x hex within [min, max].
std::optional<long> ParseNumber(const std::string& text, long min, long max);

// Writes bytes to path; prints the reason and returns false on failure.
bool WriteBlockFile(const std::string& path, const std::vector<std::uint8_t>& bytes, const char* command);
// Writes files into a folder, all of them or none (WriteFolderSafely); prints
// the reason and returns false on failure.
bool WriteBlockFolder(const std::string& folder, std::span<const FolderFile> files, const char* command);
// Reads a block file that must hold exactly size bytes.
std::optional<std::vector<std::uint8_t>> ReadBlockFile(const std::string& path, std::size_t size,
                                                       const char* command);

// "zmp318t-cli CMD: FILE: message" on stderr (control characters of the
// name written as \n or \xNN).
void PrintFailure(const char* command, const std::string& file, const std::string& message);

// The message of a failed data-file read, from the language file.
std::string ReadFailureText(const DataFileResult& r, const std::string& path);

// Reads a data file into the transfer copy; a protected one with password
// (nothing: the file's own, so that inspecting needs none).
DataFileResult LoadForInspection(const std::string& path, ImageStore& image,
                                 const std::optional<std::string>& password, bool* hasPassword = nullptr,
                                 std::uint8_t* key = nullptr);

// A data file as the image commands read it, with what a rewrite keeps: the
// file's own bytes, its key byte and the password that opened it.
struct SourceFile {
  std::string path;
  std::vector<std::uint8_t> bytes;
  std::uint8_t key = 0;
  std::optional<std::string> password;  // protected files only
  ImageCopy image;                      // the image as read
};

// Reads a data file into the working copy; a protected one only with its
// password. Prints why not and returns the read code (0: loaded).
int LoadDataFile(const std::string& path, const std::optional<std::string>& password, ImageStore& image,
                 SourceFile& source, const char* command);

// Writes the edited working copy to path, whole or not at all, with the
// source's key byte and password. An image that did not change is written as
// the source's own bytes; a changed one gets the version stamp and checksum
// of a save. Prints why not and returns false on failure.
bool WriteEditedDataFile(const std::string& path, ImageStore& image, const SourceFile& source,
                         const char* command);

// Writes text to path safely, or to standard output when path is empty (a
// failed standard output is reported once, by FinishStandardOutput).
bool WriteTextOutput(const std::string& path, const std::string& text, const char* command);

// The model record of model INDEX with band WORD (no band: the model's first
// one). Prints the models or the model's bands and returns nothing when
// either does not exist.
// The model indexes and each model's band words with their bands, in words,
// for the help of the commands that take --model and --band.
std::string ModelAndBandWords();
std::optional<ModelRecord> ChooseModelRecord(const std::string& modelText,
                                             const std::optional<std::string>& bandText, const char* command);

}  // namespace zmp::cli
