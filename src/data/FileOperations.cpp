#include "data/FileOperations.h"

#include "data/NewImage.h"

namespace zmp {

std::string FolderOfPath(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOfPath(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileOperations::PassSaveChanges() {
  if (!image_.IsModified()) return true;
  switch (prompts_.AskSaveChanges(state_.fileName)) {
    case SaveChangesAnswer::Yes: return SaveAs();  // the edits are kept only by a save
    case SaveChangesAnswer::No: return true;
    case SaveChangesAnswer::Cancel: break;
  }
  return false;
}

OpenOutcome FileOperations::Open() {
  if (!PassSaveChanges()) return OpenOutcome::Cancelled;
  const auto path = prompts_.ChooseOpenFile(state_.folder, false);
  if (!path) return OpenOutcome::Cancelled;
  return OpenPath(*path);
}

OpenOutcome FileOperations::OpenPath(const std::string& path) {
  const DataFileResult r = ReadDataFile(path, image_, [this] { return prompts_.AskPassword(); });
  if (r.code == kDataFileLoaded) {
    state_.fileName = NameOfPath(path);
    state_.folder = FolderOfPath(path);
    return OpenOutcome::Opened;
  }
  if (r.code == kDataFilePasswordRefused) return OpenOutcome::Failed;
  const TextNo text = DataFileReadMessage(r.code);
  std::vector<std::string> args;
  if (r.code == kDataFileOtherProgram) args = {NameOfPath(path), r.foreignCode};
  if (r.code == kDataFileForeign) args = {NameOfPath(path)};
  prompts_.ShowError(text, args);
  return OpenOutcome::Failed;
}

bool FileOperations::SaveTo(const std::string& path, bool askOverwrite) {
  if (askOverwrite && FileExists(path) && !prompts_.ConfirmOverwrite(path)) return false;
  DataFileOptions options;
  options.key = ChooseFileKey(state_.scramble);
  if (state_.embedPassword) options.password = state_.password;
  const DataFileResult r = WriteDataFile(path, image_, options);
  if (r.code != kDataFileWritten) {
    if (r.error.notRegularFile)
      prompts_.ShowError(513_txt, {path});
    else
      prompts_.ShowError(605_txt, {path, r.error.Text()});
    return false;
  }
  image_.TakeSnapshot();
  return true;
}

bool FileOperations::Save() { return SaveTo(state_.folder + state_.fileName, true); }

bool FileOperations::SaveAs() {
  const auto path = prompts_.ChooseSaveFile(state_.folder, state_.fileName, false);
  if (!path) return false;
  if (!SaveTo(*path, true)) return false;
  state_.fileName = NameOfPath(*path);
  state_.folder = FolderOfPath(*path);
  return true;
}

bool FileOperations::ConfirmNew() { return prompts_.ConfirmNew() && PassSaveChanges(); }

void FileOperations::MakeNewData() {
  MakeNewImageForCurrentModel(image_);
  state_.fileName = "zmp318t.dat";
}

std::string FileOperations::TuningFolder() const {
  return state_.tuningFolder.empty() ? state_.folder : state_.tuningFolder;
}

int FileOperations::OpenTuningFile(TuningFile& tuning) {
  const auto path = prompts_.ChooseOpenFile(TuningFolder(), true);
  if (!path) return kTuningCancelled;
  FileError error;
  const int code = tuning.ReadTuningFile(*path, &error);
  if (code != kTuningOk) {
    const TextNo text = TuningReadMessage(code, tuning.ForeignCode());
    std::vector<std::string> args;
    if (text == 662_txt) args = {NameOfPath(*path), tuning.ForeignCode()};
    if (text == 663_txt || text == 601_txt) args = {NameOfPath(*path)};
    prompts_.ShowError(text, args);
    return code;
  }
  state_.tuningFolder = FolderOfPath(*path);
  tuning.SetFileName(NameOfPath(*path));
  return kTuningOk;
}

int FileOperations::SaveTuningFile(TuningFile& tuning) {
  const auto path = prompts_.ChooseSaveFile(TuningFolder(), tuning.FileName(), true);
  if (!path) return kTuningCancelled;
  if (FileExists(*path) && !prompts_.ConfirmOverwrite(*path)) return kTuningCancelled;
  FileError error;
  const int code = tuning.WriteTuningFile(*path, &error);
  if (code != kTuningOk) {
    if (error.notRegularFile)
      prompts_.ShowError(513_txt, {*path});
    else
      prompts_.ShowError(605_txt, {*path, error.Text()});
    return code;
  }
  state_.tuningFolder = FolderOfPath(*path);
  tuning.SetFileName(NameOfPath(*path));
  return kTuningOk;
}

}  // namespace zmp
