// The dialog components, the installed dialogs implementation and filter parsing.
#include "platform/gui/dialogs.h"

#include <cctype>

#include "platform/classes/handles.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/printer.h"

namespace kgui {

namespace {

// Refuses every question: what a process without a user interface answers.
class RefusingDialogs : public Dialogs {
public:
  bool executeFile(TOpenDialog&, bool) override { return false; }
  int messageBox(const std::string&, const std::string&, TMsgDlgType,
                 TMsgDlgButtons buttons) override {
    return (buttons & (1u << mbCancel)) ? mrCancel : (buttons & (1u << mbNo)) ? mrNo : mrOk;
  }
  bool selectDirectory(const std::string&, std::string&) override { return false; }
  bool executeColor(TColor&) override { return false; }
  bool executePrint(TPrinter&) override { return false; }
};

RefusingDialogs g_refusing;
Dialogs* g_dialogs = nullptr;
std::string g_title;

}  // namespace

Dialogs& dialogs() { return g_dialogs ? *g_dialogs : g_refusing; }

Dialogs* setDialogs(Dialogs* d) {
  Dialogs* old = g_dialogs;
  g_dialogs = d;
  return old;
}

std::string applicationTitle() { return g_title; }
void setApplicationTitle(const std::string& title) { g_title = title; }

int messageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  return dialogs().messageBox(text, applicationTitle(), type, buttons);
}

void showMessage(const std::string& text) {
  dialogs().messageBox(text, applicationTitle(), mtCustom, 1u << mbOK);
}

// ---- components ----

TOpenDialog::TOpenDialog(TComponent* owner)
    : TComponent(owner), options_(setOf({ofHideReadOnly, ofEnableSizing})) {}

const ClassInfo& TOpenDialog::staticClassInfo() {
  using T = TOpenDialog;
  static const ClassInfo info(
      "TOpenDialog", &TComponent::staticClassInfo(),
      {strProp<T>("DefaultExt", &T::defaultExt, &T::setDefaultExt),
       strProp<T>("FileName", &T::fileName, &T::setFileName),
       strProp<T>("Filter", &T::filter, &T::setFilter),
       ordProp<T, int>("FilterIndex", PropKind::Integer, &T::filterIndex, &T::setFilterIndex,
                       nullptr, 1),
       strProp<T>("InitialDir", &T::initialDir, &T::setInitialDir),
       ordProp<T, uint32_t>("Options", PropKind::Set, &T::options, &T::setOptions,
                            &openOptionType(), setOf({ofHideReadOnly, ofEnableSizing})),
       strProp<T>("Title", &T::title, &T::setTitle), eventProp<T>("OnCanClose", &T::OnCanClose),
       eventProp<T>("OnClose", &T::OnClose), eventProp<T>("OnFolderChange", &T::OnFolderChange),
       eventProp<T>("OnSelectionChange", &T::OnSelectionChange), eventProp<T>("OnShow", &T::OnShow),
       eventProp<T>("OnTypeChange", &T::OnTypeChange)});
  return info;
}

bool TOpenDialog::execute() { return run(false); }

bool TOpenDialog::run(bool save) {
  const std::string name = file_name_;
  const std::vector<std::string> files = files_->toVector();
  const int index = filter_index_;
  shown_folder_ = initial_dir_;
  fire(OnShow, this);
  const bool chosen = dialogs().executeFile(*this, save);
  if (!chosen) {
    file_name_ = name;
    files_->clear();
    for (const std::string& f : files) files_->add(f);
    filter_index_ = index;
  }
  fire(OnClose, this);
  return chosen;
}

void TOpenDialog::enterFolder(const std::string& folder) {
  if (folder.empty() || folder == shown_folder_) return;
  shown_folder_ = folder;
  fire(OnFolderChange, this);
}

void TOpenDialog::select(const std::vector<std::string>& files) {
  if (files.empty()) return;
  file_name_ = files.front();
  files_->clear();
  for (const std::string& f : files) files_->add(f);
  fire(OnSelectionChange, this);
}

void TOpenDialog::chooseType(int filter_index) {
  if (filter_index <= 0 || filter_index == filter_index_) return;
  filter_index_ = filter_index;
  fire(OnTypeChange, this);
}

void TOpenDialog::showChoice(const std::vector<std::string>& files, int filter_index) {
  if (files.empty()) return;
  const std::string& first = files.front();
  const size_t slash = first.rfind('/');
  if (slash != std::string::npos) enterFolder(first.substr(0, slash));
  select(files);
  chooseType(filter_index);
}

bool TOpenDialog::confirm(const std::vector<std::string>& files, int filter_index) {
  if (files.empty()) return false;
  file_name_ = files.front();
  files_->clear();
  for (const std::string& f : files) files_->add(f);
  if (filter_index > 0) filter_index_ = filter_index;
  bool can_close = true;
  fire(OnCanClose, this, can_close);
  return can_close;
}

const ClassInfo& TSaveDialog::staticClassInfo() {
  static const ClassInfo info("TSaveDialog", &TOpenDialog::staticClassInfo());
  return info;
}

bool TSaveDialog::execute() { return run(true); }

TFontDialog::TFontDialog(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() { windowHandles().release(this); }

bool TFontDialog::execute() {
  TFont before;
  before.assign(*font_);
  fire(OnShow, this);
  std::function<void()> apply;
  if (OnApply) apply = [this] { fire(OnApply, this, windowHandles().handleOf(this)); };
  const bool chosen = dialogs().executeFont(*font_, apply);
  if (!chosen) font_->assign(before);
  fire(OnClose, this);
  return chosen;
}

const ClassInfo& TFontDialog::staticClassInfo() {
  static const ClassInfo info("TFontDialog", &TComponent::staticClassInfo(),
                              {classProp<TFontDialog, TFont>("Font", &TFontDialog::font),
                               eventProp<TFontDialog>("OnApply", &TFontDialog::OnApply),
                               eventProp<TFontDialog>("OnClose", &TFontDialog::OnClose),
                               eventProp<TFontDialog>("OnShow", &TFontDialog::OnShow)});
  return info;
}

const ClassInfo& TColorDialog::staticClassInfo() {
  static const ClassInfo info("TColorDialog", &TComponent::staticClassInfo(), [] {
    auto p = ordProp<TColorDialog, TColor>("Color", PropKind::Integer, &TColorDialog::color,
                                           &TColorDialog::setColor, nullptr, clBlack);
    p.ident_map = &colorIdents();
    return std::vector<PropertyInfo>{p};
  }());
  return info;
}

const ClassInfo& TPrintDialog::staticClassInfo() {
  static const ClassInfo info("TPrintDialog", &TComponent::staticClassInfo());
  return info;
}

bool TPrintDialog::execute() { return dialogs().executePrint(printer()); }

// ---- filters ----

std::vector<FilterEntry> parseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t bar = filter.find('|', start);
    if (bar == std::string::npos) bar = filter.size();
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<FilterEntry> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    FilterEntry e{parts[i], {}};
    size_t s = 0;
    const std::string& pats = parts[i + 1];
    while (s <= pats.size()) {
      size_t semi = pats.find(';', s);
      if (semi == std::string::npos) semi = pats.size();
      std::string p = pats.substr(s, semi - s);
      while (!p.empty() && p.front() == ' ') p.erase(p.begin());
      while (!p.empty() && p.back() == ' ') p.pop_back();
      if (!p.empty()) e.patterns.push_back(p);
      s = semi + 1;
    }
    out.push_back(std::move(e));
  }
  return out;
}

static bool matchFrom(const std::string& n, size_t i, const std::string& p, size_t j) {
  while (j < p.size()) {
    if (p[j] == '*') {
      for (size_t k = i; k <= n.size(); ++k)
        if (matchFrom(n, k, p, j + 1)) return true;
      return false;
    }
    if (i >= n.size()) return false;
    if (p[j] != '?' && std::tolower(static_cast<unsigned char>(p[j])) !=
                           std::tolower(static_cast<unsigned char>(n[i])))
      return false;
    ++i;
    ++j;
  }
  return i == n.size();
}

bool matchesPattern(const std::string& name, const std::string& pattern) {
  if (pattern == "*.*") return true;
  return matchFrom(name, 0, pattern, 0);
}

}  // namespace kgui
