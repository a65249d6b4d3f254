// Drag and drop between Kestrin's controls and other programs: TDragDropTarget takes files
// and text dropped on a control; TDragDropSource starts a drag of files or text. Names and
// texts here are UTF-8; X and Y are screen coordinates.
#pragma once

#include <QMimeData>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/control.h"

namespace kgui {

class DropFilter;

class TDragDropTarget : public TComponent {
public:
  explicit TDragDropTarget(TComponent* owner);
  ~TDragDropTarget() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  TControl* target() const { return target_; }
  // Takes over the control's drops (a scroll area's through its viewport; the control's
  // own drop handling stops); nil gives them back.
  void setTarget(TControl* control);

  std::function<void(TComponent* sender, int x, int y, const std::vector<std::string>& files)> OnDragDropFiles;
  std::function<void(TComponent* sender, int x, int y, const std::string& text)> OnDragDropText;
  // Asked on each move over the target; false refuses the drop there.
  std::function<void(TControl* target, int x, int y, bool& accept)> OnDragDropOver;

protected:
  void notification(TComponent* c, Operation op) override;

private:
  friend class DropFilter;
  std::unique_ptr<DropFilter> filter_;
  TControl* target_ = nullptr;
};

// The payload of a file drag: each name's file-name part in one folder (`dir`, or the
// first name's folder when `dir` is empty), without the names that are no existing regular
// file there; nil when none is left.
std::unique_ptr<QMimeData> fileDragData(const std::string& dir, const std::vector<std::string>& files);
// The payload of a text drag: text/plain.
std::unique_ptr<QMimeData> textDragData(const std::string& text);

class TDragDropSource : public TComponent {
public:
  explicit TDragDropSource(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Runs the drag (offering copy) until the user drops; false when no file was left to drag.
  bool doDragFiles(const std::string& dir, const std::vector<std::string>& files);
  // Runs a text drag offering link first, then copy.
  void doDragText(const std::string& text);
};

}  // namespace kgui
