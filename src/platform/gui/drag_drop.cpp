// Drops are read at enter: some sources hand their data only then, and the drop event
// comes back empty.
#include "platform/gui/drag_drop.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QUrl>
#include <QWidget>
#include <filesystem>

#include "platform/gui/drop_payload.h"

namespace kgui {

// Consumes the drag events of the target's widget.
class DropFilter : public QObject {
public:
  explicit DropFilter(TDragDropTarget& owner) : owner_(owner) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void enter(QDragEnterEvent* e);
  TDragDropTarget& owner_;
  bool files_ = false;
  std::vector<std::string> names_;
  std::string text_;
};

namespace {

// Where drops land: a scroll area's viewport, else the widget itself.
QWidget* dropWidget(TControl* control) {
  QWidget* w = control ? control->widget() : nullptr;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) return area->viewport();
  return w;
}

}  // namespace

void DropFilter::enter(QDragEnterEvent* e) {
  DropPayload payload = readDropPayload(e->mimeData());
  names_ = std::move(payload.files);
  text_ = std::move(payload.text);
  files_ = !names_.empty();
  if (files_) {
    e->setDropAction(Qt::CopyAction);
  } else {
    // Linux sources rarely offer link: answer with what the source proposes then.
    e->setDropAction(e->possibleActions() & Qt::LinkAction ? Qt::LinkAction : e->proposedAction());
  }
  e->accept();
}

bool DropFilter::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
      enter(static_cast<QDragEnterEvent*>(event));
      return true;
    case QEvent::DragMove: {
      auto* e = static_cast<QDragMoveEvent*>(event);
      bool accept = true;
      const QPoint at = dropWidget(owner_.target_)->mapToGlobal(e->position().toPoint());
      if (owner_.OnDragDropOver) owner_.OnDragDropOver(owner_.target_, at.x(), at.y(), accept);
      if (accept) {
        e->setDropAction(files_ ? Qt::CopyAction
                                : (e->possibleActions() & Qt::LinkAction ? Qt::LinkAction : e->proposedAction()));
        e->accept();
      } else {
        e->setDropAction(Qt::IgnoreAction);
        e->ignore();
      }
      return true;
    }
    case QEvent::DragLeave:
      names_.clear();
      text_.clear();
      return true;
    case QEvent::Drop: {
      auto* e = static_cast<QDropEvent*>(event);
      const QPoint at = dropWidget(owner_.target_)->mapToGlobal(e->position().toPoint());
      e->acceptProposedAction();
      // The handlers may free the target; work on copies.
      TDragDropTarget& owner = owner_;
      if (files_) {
        const std::vector<std::string> names = std::move(names_);
        if (!names.empty() && owner.OnDragDropFiles) owner.OnDragDropFiles(&owner, at.x(), at.y(), names);
      } else {
        const std::string text = std::move(text_);
        if (owner.OnDragDropText) owner.OnDragDropText(&owner, at.x(), at.y(), text);
      }
      return true;
    }
    default:
      return false;
  }
}

TDragDropTarget::TDragDropTarget(TComponent* owner) : TComponent(owner), filter_(std::make_unique<DropFilter>(*this)) {}

TDragDropTarget::~TDragDropTarget() { setTarget(nullptr); }

const ClassInfo& TDragDropTarget::staticClassInfo() {
  static const ClassInfo info("TDragDropTarget", &TComponent::staticClassInfo(), {});
  return info;
}

void TDragDropTarget::setTarget(TControl* control) {
  if (control == target_) return;
  if (target_) {
    if (QWidget* w = dropWidget(target_)) {
      w->removeEventFilter(filter_.get());
      w->setAcceptDrops(false);
    }
    target_->removeFreeNotification(this);
  }
  target_ = control;
  if (target_) {
    target_->freeNotification(this);
    if (QWidget* w = dropWidget(target_)) {
      w->installEventFilter(filter_.get());
      w->setAcceptDrops(true);
    }
  }
}

void TDragDropTarget::notification(TComponent* c, Operation op) {
  TComponent::notification(c, op);
  if (op == Operation::Remove && c == target_) target_ = nullptr;
}

std::unique_ptr<QMimeData> fileDragData(const std::string& dir, const std::vector<std::string>& files) {
  if (files.empty()) return nullptr;
  std::string folder = dir;
  if (folder.empty()) folder = std::filesystem::path(files.front()).parent_path().string();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  // "//" is "/" to the system, but a URL would read the first name after it as a host.
  while (folder.rfind("//", 0) == 0) folder.erase(0, 1);
  QList<QUrl> urls;
  for (const std::string& name : files) {
    const std::string path = folder + std::filesystem::path(name).filename().string();
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
  if (urls.isEmpty()) return nullptr;
  auto data = std::make_unique<QMimeData>();
  data->setUrls(urls);
  return data;
}

std::unique_ptr<QMimeData> textDragData(const std::string& text) {
  auto data = std::make_unique<QMimeData>();
  data->setText(QString::fromStdString(text));
  return data;
}

TDragDropSource::TDragDropSource(TComponent* owner) : TComponent(owner) {}

const ClassInfo& TDragDropSource::staticClassInfo() {
  static const ClassInfo info("TDragDropSource", &TComponent::staticClassInfo(), {});
  return info;
}

namespace {

// QDrag::exec is the drag's own event loop; the drag takes the payload. Qt frees the drag:
// on X the program that took the drop asks for the data only after exec has returned, so
// the drag (and its data) lives on until the platform lets it go.
void runDrag(TComponent* owner, std::unique_ptr<QMimeData> data, Qt::DropActions actions, Qt::DropAction preferred) {
  QObject* source = nullptr;
  if (auto* control = dynamic_cast<TControl*>(owner)) source = control->widget();
  auto* drag = new QDrag(source ? source : QCoreApplication::instance());
  drag->setMimeData(data.release());
  drag->exec(actions, preferred);
}

}  // namespace

bool TDragDropSource::doDragFiles(const std::string& dir, const std::vector<std::string>& files) {
  std::unique_ptr<QMimeData> data = fileDragData(dir, files);
  if (!data) return false;
  runDrag(owner(), std::move(data), Qt::CopyAction, Qt::CopyAction);
  return true;
}

void TDragDropSource::doDragText(const std::string& text) {
  runDrag(owner(), textDragData(text), Qt::LinkAction | Qt::CopyAction, Qt::LinkAction);
}

}  // namespace kgui
