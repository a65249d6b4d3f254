// Identifier tables of the class library's enumeration, set and colour types.
#include "platform/classes/type_tables.h"

#include "platform/classes/persistent.h"

namespace kgui {

std::string enumToText(const EnumInfo& type, int64_t ord) {
  if (ord >= 0 && ord < static_cast<int64_t>(type.idents.size()))
    return type.idents[static_cast<size_t>(ord)];
  return std::to_string(ord);
}

std::optional<int64_t> textToEnum(const EnumInfo& type, std::string_view text) {
  for (size_t i = 0; i < type.idents.size(); ++i)
    if (sameText(type.idents[i], text)) return static_cast<int64_t>(i);
  return std::nullopt;
}

static std::string joinSet(const EnumInfo& type, uint32_t bits, std::string_view sep) {
  std::string out;
  for (size_t i = 0; i < type.idents.size() && i < 32; ++i) {
    if (!(bits & (1u << i))) continue;
    if (!out.empty()) out += sep;
    out += type.idents[i];
  }
  return out;
}

std::string setToText(const EnumInfo& type, uint32_t bits) {
  return "[" + joinSet(type, bits, ", ") + "]";
}

std::string setToNames(const EnumInfo& type, uint32_t bits) { return joinSet(type, bits, ","); }

uint32_t textToSet(const EnumInfo& type, std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '[') ++i;
  uint32_t bits = 0;
  auto separator = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == ']'; };
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !separator(text[i])) ++i;
    if (i == start) break;
    if (auto ord = textToEnum(type, text.substr(start, i - start)); ord && *ord < 32)
      bits |= 1u << *ord;
  }
  return bits;
}

std::optional<std::string> intToIdent(const IdentMap& map, int64_t value) {
  for (const auto& [name, v] : map.entries)
    if (v == value) return name;
  return std::nullopt;
}

std::optional<int64_t> identToInt(const IdentMap& map, std::string_view ident) {
  for (const auto& [name, v] : map.entries)
    if (sameText(name, ident)) return v;
  return std::nullopt;
}

#define KGUI_ENUM(fn, ...)            \
  const EnumInfo& fn() {              \
    static const EnumInfo info{__VA_ARGS__}; \
    return info;                      \
  }

KGUI_ENUM(booleanType, "Boolean", {"False", "True"})
KGUI_ENUM(alignType, "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient",
                                "alCustom"})
KGUI_ENUM(anchorKindType, "TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}, "TAnchors")
KGUI_ENUM(shiftStateType, "TShiftStateElem",
          {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"},
          "TShiftState")
KGUI_ENUM(mouseButtonType, "TMouseButton", {"mbLeft", "mbRight", "mbMiddle"})
KGUI_ENUM(closeActionType, "TCloseAction", {"caNone", "caHide", "caFree", "caMinimize"})
KGUI_ENUM(dragModeType, "TDragMode", {"dmManual", "dmAutomatic"})
KGUI_ENUM(dragStateType, "TDragState", {"dsDragEnter", "dsDragLeave", "dsDragMove"})
KGUI_ENUM(checkBoxStateType, "TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"})
KGUI_ENUM(fontStyleType, "TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
          "TFontStyles")
KGUI_ENUM(fontPitchType, "TFontPitch", {"fpDefault", "fpVariable", "fpFixed"})
KGUI_ENUM(borderIconType, "TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
          "TBorderIcons")
KGUI_ENUM(formBorderStyleType, "TFormBorderStyle",
          {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
KGUI_ENUM(positionType, "TPosition",
          {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
           "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"})
KGUI_ENUM(windowStateType, "TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"})
KGUI_ENUM(bevelCutType, "TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"})
KGUI_ENUM(alignmentType, "TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"})
KGUI_ENUM(textLayoutType, "TTextLayout", {"tlTop", "tlCenter", "tlBottom"})
KGUI_ENUM(comboBoxStyleType, "TComboBoxStyle",
          {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"})
KGUI_ENUM(editCharCaseType, "TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"})
KGUI_ENUM(scrollBarKindType, "TScrollBarKind", {"sbHorizontal", "sbVertical"})
KGUI_ENUM(scrollStyleType, "TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})
KGUI_ENUM(openOptionType, "TOpenOption",
          {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
           "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
           "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn",
           "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog",
           "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
           "ofDontAddToRecent", "ofForceShowHidden"},
          "TOpenOptions")
KGUI_ENUM(gridOptionType, "TGridOption",
          {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
           "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
           "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"},
          "TGridOptions")

#undef KGUI_ENUM

const IdentMap& colorIdents() {
  static const IdentMap map = [] {
    IdentMap m{"TColor", {{"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000},
                          {"clOlive", 0x008080}, {"clNavy", 0x800000}, {"clPurple", 0x800080},
                          {"clTeal", 0x808000}, {"clGray", 0x808080}, {"clSilver", 0xC0C0C0},
                          {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
                          {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
                          {"clWhite", 0xFFFFFF}, {"clNone", 0x1FFFFFFF},
                          {"clDefault", 0x20000000}}};
    // System colours are 0x80000000 + the system colour index; TColor is a signed 32-bit
    // value, so they read negative (clBtnFace = -2147483633).
    static const char* const system[] = {
        "clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu",
        "clWindow", "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText",
        "clActiveBorder", "clInactiveBorder", "clAppWorkSpace", "clHighlight",
        "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
        "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText",
        "clInfoBk"};
    for (int i = 0; i < static_cast<int>(std::size(system)); ++i)
      m.entries.emplace_back(system[i], static_cast<int32_t>(0x80000000u + static_cast<uint32_t>(i)));
    return m;
  }();
  return map;
}

}  // namespace kgui
