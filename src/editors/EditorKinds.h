// The 21 editor kinds, numbered as their document templates are registered,
// with the view class each one opens.
#pragma once

#include <array>
#include <string_view>

namespace zmp {

enum class EditorKind {
  ChInfo = 1,
  ChEdit,
  CWID,
  BeatShift,
  Feature,
  Key,
  ScanInfo,
  FiveTone,
  Velmora,
  EncDec,
  Dtmf,
  DtmfEncDec,
  Remote,
  Multi,
  CWMes,
  TestFreq,
  Emb,
  EmbPass,
  FuncPort,
  UserRecords,
  SupportUtil,
};

inline constexpr int kEditorKindCount = 21;

enum class FrameClass { ChildFrame, ChInfoFrm, SpecialFrame };

struct EditorTemplate {
  EditorKind kind;
  FrameClass frame;
  std::string_view viewClass;
};

inline constexpr std::array<EditorTemplate, kEditorKindCount> kEditorTemplates{{
    {EditorKind::ChInfo, FrameClass::ChInfoFrm, "CChInfoView"},
    {EditorKind::ChEdit, FrameClass::ChildFrame, "CChEditView"},
    {EditorKind::CWID, FrameClass::ChildFrame, "CCWIDView"},
    {EditorKind::BeatShift, FrameClass::ChildFrame, "CBeatShiftView"},
    {EditorKind::Feature, FrameClass::SpecialFrame, "CFeatureView"},
    {EditorKind::Key, FrameClass::ChildFrame, "CKeyView"},
    {EditorKind::ScanInfo, FrameClass::ChildFrame, "CScanInfoView"},
    {EditorKind::FiveTone, FrameClass::ChildFrame, "CFiveToneView"},
    {EditorKind::Velmora, FrameClass::ChildFrame, "CVelmoraView"},
    {EditorKind::EncDec, FrameClass::SpecialFrame, "CEncDecView"},
    {EditorKind::Dtmf, FrameClass::ChildFrame, "CDtmfView"},
    {EditorKind::DtmfEncDec, FrameClass::SpecialFrame, "CDtmfEncDecView"},
    {EditorKind::Remote, FrameClass::SpecialFrame, "CRemoteView"},
    {EditorKind::Multi, FrameClass::ChildFrame, "CMultiView"},
    {EditorKind::CWMes, FrameClass::ChildFrame, "CCWMesView"},
    {EditorKind::TestFreq, FrameClass::ChildFrame, "CTestFreqView"},
    {EditorKind::Emb, FrameClass::ChildFrame, "CEmbView"},
    {EditorKind::EmbPass, FrameClass::ChildFrame, "CEmbPassView"},
    {EditorKind::FuncPort, FrameClass::ChildFrame, "CFuncPortView"},
    {EditorKind::UserRecords, FrameClass::ChildFrame, "CUserRecordsView"},
    {EditorKind::SupportUtil, FrameClass::ChildFrame, "CSupportUtilView"},
}};

constexpr const EditorTemplate& TemplateOf(EditorKind k) {
  return kEditorTemplates[static_cast<int>(k) - 1];
}

}  // namespace zmp
