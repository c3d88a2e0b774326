#include "comm/ImageTransfer.h"

#include <algorithm>

namespace zmp {

namespace w = zmp::wire;

namespace {

constexpr int kStoreTimeoutMs = 15000;  // the repeater stores the main data

}  // namespace

ModelRecord RecordOfVersion(const w::VersionInfo& v) {
  ModelRecord r;
  r.bytes.fill(0xFF);
  for (std::size_t i = 0; i < v.modelCode.size() && i < 8; ++i) r.bytes[i] = static_cast<std::uint8_t>(v.modelCode[i]);
  r.bytes[10] = static_cast<std::uint8_t>(v.destination);
  r.bytes[11] = static_cast<std::uint8_t>(v.bandCode);
  return r;
}

bool IsKnownRepeater(const w::VersionInfo& v) { return IsKnownModel(RecordOfVersion(v)); }

bool RepeaterMatches(const w::VersionInfo& v, const ModelRecord& data) {
  return data.ModelCode() == v.modelCode && data.Destination() == v.destination;
}

std::vector<std::string> ModelMismatchArgs(const w::VersionInfo& v, const ModelRecord& data) {
  return {LongCaptionOf(RecordOfVersion(v)), LongCaptionOf(data)};
}

ImageTransfer::ImageTransfer(RepeaterLink& link, TransferProgress progress)
    : link_(link), svc_(link), progress_(std::move(progress)) {}

void ImageTransfer::Start() {
  done_ = 0;
  total_ = kTransferBlocks;
  cancellable_ = true;
  writing_ = false;
  unitsStored_ = 0;
  repeater_ = {};
}

void ImageTransfer::Status(TextNo t) {
  if (progress_.status) progress_.status(t);
}

void ImageTransfer::Advance(int blocks) {
  done_ = std::min(total_, done_ + blocks);
  if (progress_.step) progress_.step(done_, total_);
}

TextNo ImageTransfer::PartialWriteNote() const {
  if (!writing_ || unitsStored_ == 0) return TextNo{0};
  return unitsStored_ == 1 ? 404_txt : 405_txt;
}

int ImageTransfer::Fail() {
  link_.ReportFailure(PartialWriteNote());
  return w::kFail;
}

int ImageTransfer::Stop(TextNo text, const std::vector<std::string>& args) {
  link_.CloseConnection();
  link_.ResetAndClose();
  if (showError) showError(text, args);
  else if (link_.Ui()) link_.Ui()->ShowFailure(text);
  return w::kFail;
}

void ImageTransfer::EndConnection() {
  // Everything has arrived or been stored: a repeater that does not
  // acknowledge the FIN has lost nothing, and the FIN is not sent twice.
  link_.CloseConnection();
  link_.ResetAndClose();
}

bool ImageTransfer::CancelPending() const {
  return cancellable_ && progress_.cancelRequested && progress_.cancelRequested();
}

bool ImageTransfer::StopRequested() {
  link_.PumpMessages();
  return CancelPending();
}

int ImageTransfer::Cancelled(bool unitInProgress) {
  {
    // The line is quiet: the repeater waits for our next message. Best effort
    // and short, as after a failure.
    ScopedReadTimeout quick(link_, std::min(link_.ReadTimeout(), link_.NormalTimeout()));
    if (unitInProgress) link_.Halt();
    link_.CloseConnection();
  }
  link_.ResetAndClose();
  return kTransferCancelled;
}

void ImageTransfer::PassPointOfNoReturn() {
  if (!cancellable_) return;
  cancellable_ = false;
  if (progress_.mustFinish) progress_.mustFinish();
}

int ImageTransfer::AwaitMessage(std::string_view text) { return svc_.AwaitMessage(text); }

int ImageTransfer::ReadUnit(std::string_view unit, std::vector<std::uint8_t>& out,
                            std::size_t expectedSize) {
  if (unit == w::kUnitFpu) Status(439_txt);
  if (StopRequested()) return Cancelled(false);
  if (svc_.Send(w::ReadRequest(unit, link_.RepeaterMode())) != w::kOk) return Fail();
  if (link_.AwaitControl(w::kAck) != w::kOk) return Fail();
  std::size_t size = 0;
  // A wrong size is refused before it is acknowledged: no data message follows.
  if (svc_.AwaitSizeNotice(unit, size) != w::kOk || size != expectedSize) return Fail();
  if (StopRequested()) return Cancelled(true);
  if (link_.SendControl(w::kAck) != w::kOk) return Fail();
  Advance(0);
  out.assign(size, 0xFF);
  std::size_t offset = 0;
  while (offset < size) {
    // While the repeater sends the next message.
    link_.PumpMessages();
    std::size_t n = 0;
    // 1 to (size - offset) bytes: the unit can only end exactly at its size.
    if (svc_.ReceiveBlock(1, std::span<std::uint8_t>(out).subspan(offset), n) != w::kOk)
      return Fail();
    const int before = BlocksOf(offset);
    offset += n;
    Advance(BlocksOf(offset) - before);
    // The next data message comes only after this one is acknowledged.
    if (CancelPending()) return Cancelled(true);
    if (link_.SendControl(w::kAck) != w::kOk) return Fail();
  }
  if (AwaitMessage(w::kCompInd) != w::kOk) return Fail();
  return w::kOk;
}

int ImageTransfer::WriteUnit(std::string_view unit, std::span<const std::uint8_t> data) {
  const bool main = unit == w::kUnitFpu;
  if (main) Status(467_txt);
  if (StopRequested()) return Cancelled(false);
  if (svc_.Send(w::WriteRequest(unit, data.size(), link_.RepeaterMode())) != w::kOk) return Fail();
  {
    ScopedReadTimeout t(link_, link_.LongTimeout());
    if (link_.AwaitControl(w::kAck) != w::kOk) return Fail();
  }
  if (StopRequested()) return Cancelled(true);
  PassPointOfNoReturn();
  for (std::size_t off = 0; off < data.size(); off += w::kWriteBlock) {
    Advance(1);
    const std::size_t n = std::min(w::kWriteBlock, data.size() - off);
    if (link_.SendData(data.subspan(off, n), 1) != w::kOk) return Fail();
    if (link_.AwaitControl(w::kAck) != w::kOk) return Fail();
    link_.PumpMessages();
  }
  std::string msg;
  if (main) {
    ScopedReadTimeout t(link_, kStoreTimeoutMs);
    if (link_.Ui()) link_.Ui()->SetBusy(true);
    const int r = svc_.ReceiveMessage(msg);
    if (link_.Ui()) link_.Ui()->SetBusy(false);
    if (r != w::kOk) return Fail();
  } else if (svc_.ReceiveMessage(msg) != w::kOk) {
    return Fail();
  }
  if (!w::IsStoringNotice(msg)) return Fail();
  if (AwaitMessage(w::kCompInd) != w::kOk) return Fail();
  ++unitsStored_;
  return w::kOk;
}

int ImageTransfer::ReadConventional(BlockRef second) {
  Status(440_txt);
  std::vector<std::uint8_t> unitBytes, groupBytes;
  if (const int r = ReadUnit(w::kUnitCnvUnt, unitBytes, w::kSizeCnvUnt); r != w::kOk) return r;
  if (const int r = ReadUnit(w::kUnitCnvGrp, groupBytes, w::kSizeCnvGrp); r != w::kOk) return r;
  second.Write(region::kConventionalUnit, unitBytes);
  second.Write(region::kConventionalGroup, groupBytes);
  return w::kOk;
}

int ImageTransfer::WriteConventional(ConstBlockRef second) {
  Status(468_txt);
  if (const int r = WriteUnit(w::kUnitCnvUnt, second.Range(region::kConventionalUnit, w::kSizeCnvUnt));
      r != w::kOk)
    return r;
  return WriteUnit(w::kUnitCnvGrp, second.Range(region::kConventionalGroup, w::kSizeCnvGrp));
}

int ImageTransfer::OpenSequence(const std::optional<ModelRecord>& expected, OtherModel otherModel) {
  link_.ResetAndClose();
  if (link_.Reconnect() != w::kOk) {
    // Nothing was sent: the port itself is missing or taken.
    link_.ReportPortUnavailable();
    return w::kFail;
  }
  if (link_.OpenConnection() != w::kOk) return Fail();
  if (StopRequested()) return Cancelled(false);
  if (svc_.QueryVersion(repeater_) != w::kOk) return Fail();
  if (!IsKnownRepeater(repeater_)) return Stop(602_txt, {w::VersionText(repeater_)});
  if (expected && !RepeaterMatches(repeater_, *expected)) {
    if (otherModel == OtherModel::Refuse) return Stop(470_txt, ModelMismatchArgs(repeater_, *expected));
    // The caller asks the user while the connection is closed, not held open.
    EndConnection();
    return kRepeaterOfOtherModel;
  }
  if (StopRequested()) return Cancelled(false);
  if (svc_.DoPresentAccessCode() != w::kOk) return w::kFail;
  if (svc_.DoChangeBaud() != w::kOk) return w::kFail;
  if (StopRequested()) return Cancelled(false);
  if (svc_.DoQueryMode() != w::kOk) return w::kFail;
  return w::kOk;
}

int ImageTransfer::ReadFromRepeater(ImageStore& image, const std::optional<ModelRecord>& expected,
                                    OtherModel otherModel) {
  Start();
  ImageCopy local;  // every byte 0xFF until the repeater's arrive
  if (const int r = OpenSequence(expected, otherModel); r != w::kOk) return r;
  const w::VersionInfo& v = repeater_;

  std::vector<std::uint8_t> bytes;
  if (const int r = ReadUnit(w::kUnitFpu, bytes, w::kSizeFpu); r != w::kOk) return r;
  local.Main().Write(0, bytes);
  // The image's own model record must be valid and be the repeater that answered.
  const ModelRecord r = ModelRecord::FromBytes(local.Main().Range(region::kModelRecord, kModelRecordSize));
  if (!IsValidRecord(r) || r.ModelCode() != v.modelCode || r.Destination() != v.destination ||
      r.BandCode() != v.bandCode)
    return Stop(472_txt, {w::VersionText(v)});

  Status(473_txt);
  if (StopRequested()) return Cancelled(false);
  std::vector<std::uint8_t> third(kThirdBlockSize);
  std::size_t n = 0;
  if (svc_.DoEmbedRead(w::kObjMsgWp, third, n) != w::kOk) return w::kFail;
  if (n != kThirdBlockSize) return Fail();
  local.Third().Write(0, third);
  if (StopRequested()) return Cancelled(false);
  std::vector<std::uint8_t> trace(kFourthBlockSize);
  if (svc_.DoReadTrace(trace, n) != w::kOk) return w::kFail;
  local.Fourth().Write(0, std::span<const std::uint8_t>(trace).first(n));

  if (const int result = ReadConventional(local.Second()); result != w::kOk) return result;
  EndConnection();
  image.transfer() = local;
  return w::kOk;
}

int ImageTransfer::WriteToRepeater(ImageStore& image) {
  Start();
  writing_ = true;
  // What goes out carries this program's version and a fresh checksum; the
  // working copy takes them once the repeater holds the data, so a failed or
  // cancelled write leaves the image (and whether it counts as modified) alone.
  image.CopyWorkingToTransfer();
  StampVersion(image.transfer());
  UpdateChecksum(image.transfer());
  const ImageCopy& src = image.transfer();
  const ModelRecord record =
      ModelRecord::FromBytes(src.Main().Range(region::kModelRecord, kModelRecordSize));
  if (const int r = OpenSequence(record, OtherModel::Refuse); r != w::kOk) return r;
  w::SoftwareInfo s;
  if (svc_.DoQuerySoftwareInfo(s) != w::kOk) return w::kFail;
  if (s.dataFormat != w::kDataFormat) return Stop(471_txt, {s.dataFormat});
  if (const int r = WriteUnit(w::kUnitFpu, src.Main().Range(0, w::kSizeFpu)); r != w::kOk) return r;
  if (const int r = WriteConventional(src.Second()); r != w::kOk) return r;
  EndConnection();
  StampVersion(image.working());
  UpdateChecksum(image.working());
  return w::kOk;
}

}  // namespace zmp
