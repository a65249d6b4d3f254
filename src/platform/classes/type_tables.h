// Enumeration and set types of the class library with the platform's identifiers and
// ordinals, identifier maps of integer types (TColor), and their text conversions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kgui {

// An enumeration type: identifiers in ordinal order. A set type of it is a bit mask with
// bit n for ordinal n.
struct EnumInfo {
  std::string name;
  std::vector<std::string> idents;
  std::string set_name = {};  // the set type's name ("TAnchors"), empty when none is used
};

// Named values of an integer type ("clBtnFace" = 0x8000000F).
struct IdentMap {
  std::string name;
  std::vector<std::pair<std::string, int64_t>> entries;
};

std::string enumToText(const EnumInfo& type, int64_t ord);  // out of range: the decimal
std::optional<int64_t> textToEnum(const EnumInfo& type, std::string_view text);  // no case

// "[akLeft, akTop]", members in ordinal order.
std::string setToText(const EnumInfo& type, uint32_t bits);
// "akLeft,akTop": the script form of a set value.
std::string setToNames(const EnumInfo& type, uint32_t bits);
// Reads "[a, b]", "a b" or "a,b": leading blanks and "[" skipped; blanks, commas and "]"
// separate; unknown names ignored.
uint32_t textToSet(const EnumInfo& type, std::string_view text);

std::optional<std::string> intToIdent(const IdentMap& map, int64_t value);
std::optional<int64_t> identToInt(const IdentMap& map, std::string_view ident);

// ---- The types, ordinals as the platform defines them ----
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
enum TShiftStateElem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Cursor shapes by the platform's numbers (TCursor is an integer type).
enum TCursorShape : int { crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
  poDesktopCenter, poMainFormCenter, poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TComboBoxStyle {
  csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable
};
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
  ofDontAddToRecent, ofForceShowHidden
};
enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
  goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
  goAlwaysShowEditor, goThumbTracking
};

constexpr uint32_t setOf(std::initializer_list<int> ords) {
  uint32_t bits = 0;
  for (int o : ords) bits |= 1u << o;
  return bits;
}
using TShiftState = uint32_t;  // bits of TShiftStateElem
using TAnchors = uint32_t;     // bits of TAnchorKind

const EnumInfo& booleanType();       // False, True
const EnumInfo& alignType();
const EnumInfo& anchorKindType();    // set "TAnchors"
const EnumInfo& shiftStateType();    // set "TShiftState"
const EnumInfo& mouseButtonType();
const EnumInfo& closeActionType();
const EnumInfo& dragModeType();
const EnumInfo& dragStateType();
const EnumInfo& checkBoxStateType();
const EnumInfo& fontStyleType();     // set "TFontStyles"
const EnumInfo& fontPitchType();
const EnumInfo& borderIconType();    // set "TBorderIcons"
const EnumInfo& formBorderStyleType();
const EnumInfo& positionType();
const EnumInfo& windowStateType();
const EnumInfo& bevelCutType();
const EnumInfo& alignmentType();
const EnumInfo& textLayoutType();
const EnumInfo& comboBoxStyleType();
const EnumInfo& editCharCaseType();
const EnumInfo& scrollBarKindType();
const EnumInfo& scrollStyleType();
const EnumInfo& openOptionType();    // set "TOpenOptions"
const EnumInfo& gridOptionType();    // set "TGridOptions"

// TColor identifiers: the sixteen standard colours, clNone, clDefault and the system colours.
const IdentMap& colorIdents();

}  // namespace kgui
