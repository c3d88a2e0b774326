// Open, Save, Save As and New of data files, and the open and save of tuning
// files, as the File and Program menus run them. Every question goes through
// FilePrompts, which the main window answers with dialogs and tests answer
// from a script. Messages are language text numbers with their arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lang/TextNo.h"
#include "data/DataFile.h"
#include "data/ImageStore.h"
#include "data/TuningFile.h"

namespace zmp {

enum class SaveChangesAnswer { Yes, No, Cancel };

class FilePrompts {
 public:
  virtual ~FilePrompts() = default;
  // "%s \"%s\" ?" with text 650 and the file name: Yes, No or Cancel.
  virtual SaveChangesAnswer AskSaveChanges(const std::string& fileName) = 0;
  // Text 651, 652 and the path: true to overwrite.
  virtual bool ConfirmOverwrite(const std::string& path) = 0;
  // Text 653 with OK and Cancel: true to go on.
  virtual bool ConfirmNew() = 0;
  // The open-file dialog (existing *.dat or *.tun files); nothing on Cancel.
  virtual std::optional<std::string> ChooseOpenFile(const std::string& folder, bool tuning) = 0;
  // The save-file dialog; nothing on Cancel.
  virtual std::optional<std::string> ChooseSaveFile(const std::string& folder, const std::string& name,
                                                    bool tuning) = 0;
  // The password of a protected file (at most six characters); nothing on Cancel.
  virtual std::optional<std::string> AskPassword() = 0;
  // A message: text is a language text number, args fill its %s fields. A
  // failed save is text 1171 with the path and the system's reason.
  virtual void ShowError(TextNo text, const std::vector<std::string>& args) = 0;
};

// The application's file state: the current data file and its folder, and
// the security settings that saving uses.
struct FileState {
  std::string folder;                 // ends with '/'
  std::string fileName = "zmp318t.dat";
  bool embedPassword = false;         // the "DataFile" setting
  std::string password;               // the security password
  bool scramble = false;              // the scrambling switch (off at start-up)
  std::string tuningFolder;           // empty: the data folder
};

// The folder and the name of a path; the folder ends with '/'.
std::string FolderOfPath(const std::string& path);
std::string NameOfPath(const std::string& path);

enum class OpenOutcome { Opened, Cancelled, Failed };

class FileOperations {
 public:
  FileOperations(ImageStore& image, FileState& state, FilePrompts& prompts)
      : image_(image), state_(state), prompts_(prompts) {}

  // The save-changes question of a modified image: true when the caller may
  // go on (not modified, saved, or declined); false on Cancel or when the save
  // did not succeed.
  bool PassSaveChanges();
  // Opened: the transfer copy holds the file's image and the caller replaces
  // the working image with it (closing editors first). Otherwise nothing changed.
  OpenOutcome Open();
  // Reads a chosen file (no questions but the password); the same outcome.
  OpenOutcome OpenPath(const std::string& path);
  // Save to the current folder and name; true when the file was written (the
  // snapshot is then taken).
  bool Save();
  bool SaveAs();
  bool SaveTo(const std::string& path, bool askOverwrite);
  // New asks first (text 653), then the save-changes question; true when the
  // caller is to close the editors and call MakeNewData.
  bool ConfirmNew();
  // The new image for the current model, the snapshot and the default names.
  void MakeNewData();

  // Tuning files: 0 on success, 4 on Cancel, else the read or write code.
  int OpenTuningFile(TuningFile& tuning);
  int SaveTuningFile(TuningFile& tuning);

 private:
  std::string TuningFolder() const;
  ImageStore& image_;
  FileState& state_;
  FilePrompts& prompts_;
};

}  // namespace zmp
