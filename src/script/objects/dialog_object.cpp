// Dialog: each call builds one request for the UI services; cancelled dialogs give null
// (an empty Strings object for openFiles).
#include "script/objects/dialog_object.h"

#include <unistd.h>

#include "script/builtins/script_path.h"
#include "script/core/engine.h"
#include "script/objects/object_support.h"
#include "script/objects/strings_object.h"

namespace kestrin::script {
namespace {

// The dialogs' title when the script gives none: the program's file name without folder
// and extension.
constexpr const char* kDefaultTitle = "kestrin";

TJDialogObject& DialogOf(TJObject& self) { return static_cast<TJDialogObject&>(self); }

std::string Trimmed(const std::string& line) {
  size_t start = 0, end = line.size();
  while (start < end && static_cast<unsigned char>(line[start]) <= ' ') ++start;
  while (end > start && static_cast<unsigned char>(line[end - 1]) <= ' ') --end;
  return line.substr(start, end - start);
}

FileDialogRequest RequestOf(TJObject& self, const TJValueList& params) {
  FileDialogRequest r;
  r.title = params.GetCount() > 0 ? ArgText(params, 0) : kDefaultTitle;
  r.file_name = ArgText(params, 1);
  r.filter = DialogOf(self).FilterText();
  return r;
}

void DOpenFile(TJObject& self, TJValueList& params, Value& result) {
  std::vector<std::string> files;
  const bool ok = UiOf(self).OpenFiles(RequestOf(self, params), false, files) && !files.empty();
  result = ok ? Value::String(files.front()) : Value::Null();
}

void DOpenFiles(TJObject& self, TJValueList& params, Value& result) {
  std::vector<std::string> files;
  if (!UiOf(self).OpenFiles(RequestOf(self, params), true, files)) files.clear();
  result = NewStringList(self.Engine(), files);
}

void DSaveFile(TJObject& self, TJValueList& params, Value& result) {
  std::string file;
  result = UiOf(self).SaveFile(RequestOf(self, params), file) ? Value::String(file) : Value::Null();
}

std::string CurrentFolder() {
  char buf[4096];
  return ::getcwd(buf, sizeof buf) ? OsPathToScript(buf) : std::string();
}

void DOpenFolder(TJObject& self, TJValueList& params, Value& result) {
  const std::string title = params.GetCount() > 0 ? ArgText(params, 0) : kDefaultTitle;
  std::string folder = params.GetCount() > 1 ? ArgText(params, 1) : CurrentFolder();
  result = UiOf(self).SelectDirectory(title, "", folder) ? Value::String(folder) : Value::Null();
}

Value GetFilters(TJObject& self) { return Value::Object(DialogOf(self).Filters()); }

constexpr PropDef kDialogProps[] = {{"filters", GetFilters, nullptr}};

}  // namespace

TJDialogObject::TJDialogObject(BaseEngine* engine)
    : TJObject(engine), filters_(NewStringList(engine)), props_(*this, kDialogProps) {
  SetObjectName("Dialog");
}

const ClassInfo& TJDialogObject::Class() const {
  static const ClassInfo info(&TJObject::BaseClass(),
      {{"openFile", DOpenFile}, {"openFiles", DOpenFiles}, {"saveFile", DSaveFile}, {"openFolder", DOpenFolder}});
  return info;
}

std::string TJDialogObject::FilterText() const {
  std::string text;
  auto* filters = dynamic_cast<TJBaseStringsObject*>(Filters());
  if (!filters || !filters->Strings()) return text;
  for (const std::string& line : filters->Strings()->toVector()) text += (text.empty() ? "" : "|") + Trimmed(line);
  return text;
}

void RegisterDialog(TJEngine& engine) {
  engine.RegisterObjectClass("Dialog", [](BaseEngine* e, TJValueList* p) -> TJObject* {
    auto* dialog = new TJDialogObject(e);
    auto* filters = static_cast<TJStringsObject*>(dialog->Filters());
    for (int32_t i = 0; p && i < p->GetCount(); ++i) filters->OwnList().add(ValueToStdString(p->GetValue(i)));
    return dialog;
  }, true);
}

}  // namespace kestrin::script
