// The window system on Qt 6 Widgets.
#include "platform/qt/qt_window_system.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <future>
#include <utility>

#include "platform/qt/balloon_tip.h"
#include "platform/qt/die_label.h"
#include "platform/qt/page_view.h"
#include "platform/qt/panel_widget.h"
#include "platform/qt/picture_button.h"
#include "platform/qt/plan_box.h"
#include "platform/qt/spin_edit.h"
#include "platform/qt/title_label.h"
#include "platform/qt/window_widget.h"

namespace veltra {
namespace {

constexpr int kFirstPaintWaitMs = 1000;

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    return text.toStdString();
}

// The program writes Windows line ends; Qt's text widgets and the desktop want LF.
QString ShownText(std::string_view text) {
    QString shown = ToQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

Rect ToRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}
QRect ToQRect(const Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

// A picture carried by the program: the large ones are JPEG, the small ones PNG.
QString ArtworkPath(const std::string& name) {
    if (name.empty()) return {};
    const QString path = QStringLiteral(":/artwork/") + ToQt(name);
    const QString jpeg = path + QStringLiteral(".jpg");
    return QFile::exists(jpeg) ? jpeg : path + QStringLiteral(".png");
}

QPixmap Artwork(const std::string& name) {
    return name.empty() ? QPixmap() : QPixmap(ArtworkPath(name));
}

// Reports a widget's loss of the keyboard focus.
class FocusLostFilter : public QObject {
  public:
    FocusLostFilter(QObject* parent, std::function<void()> onLost)
        : QObject(parent), lost(std::move(onLost)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) lost();
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> lost;
};

void ApplyLook(QLabel* label, ControlLook look) {
    QFont font = label->font();
    QPalette palette = label->palette();
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    switch (look) {
        case ControlLook::WindowTitle:
            font.setBold(true);
            font.setPixelSize(15);
            palette.setColor(QPalette::WindowText, Qt::white);
            break;
        case ControlLook::Heading:
            font.setBold(true);
            font.setPixelSize(17);
            palette.setColor(QPalette::WindowText, QColor(0x8a, 0x1a, 0x1f));
            break;
        case ControlLook::Countdown:
            font.setBold(true);
            font.setPixelSize(16);
            palette.setColor(QPalette::WindowText, QColor(0xff, 0xe7, 0xa8));
            label->setAlignment(Qt::AlignCenter);
            break;
        case ControlLook::ColumnHeader:
            label->setAutoFillBackground(true);
            palette.setColor(QPalette::Window, QColor(0x8a, 0x1a, 0x1f));
            palette.setColor(QPalette::WindowText, Qt::white);
            break;
        case ControlLook::Message:
            font.setPixelSize(13);
            label->setAlignment(Qt::AlignCenter);
            break;
        case ControlLook::Die:
        case ControlLook::Plain:
            break;
    }
    label->setFont(font);
    label->setPalette(palette);
}

}  // namespace

QtWindowSystem::QtWindowSystem() = default;

QtWindowSystem::~QtWindowSystem() {
    events = nullptr;
    for (auto& [name, record] : windows) delete record->widget.data();
    windows.clear();
    for (const QPointer<QWidget>& widget : destroyed) delete widget.data();
}

// --- dispatch

void QtWindowSystem::Dispatch(const std::function<void(WindowEvents&)>& call) {
    if (!events || pending) return;
    try {
        call(*events);
    } catch (...) {
        pending = std::current_exception();
        AbandonLoops();
    }
}

void QtWindowSystem::AbandonLoops() {
    for (QEventLoop* loop : loops) loop->exit(0);
    for (QMessageBox* box : boxes) box->done(0);
}

void QtWindowSystem::RethrowPending() {
    if (pending) std::rethrow_exception(std::exchange(pending, nullptr));
}

void QtWindowSystem::RunLoop(QEventLoop& loop) {
    if (pending) return;
    loops.push_back(&loop);
    loop.exec();
    loops.erase(std::find(loops.begin(), loops.end(), &loop));
}

// --- windows

QtWindowSystem::WindowRecord* QtWindowSystem::FindWindow(std::string_view window) const {
    const auto it = windows.find(window);
    return it == windows.end() ? nullptr : it->second.get();
}

QtWindowSystem::ControlRecord* QtWindowSystem::Find(std::string_view window,
                                                    std::string_view control) const {
    WindowRecord* record = FindWindow(window);
    if (!record) return nullptr;
    const auto it = record->controls.find(control);
    return it == record->controls.end() ? nullptr : &it->second;
}

QWidget* QtWindowSystem::WindowWidgetOf(std::string_view window) const {
    const WindowRecord* record = FindWindow(window);
    return record ? record->widget.data() : nullptr;
}

bool QtWindowSystem::CreateWindow(const WindowDesign& design) {
    if (FindWindow(design.name)) return false;
    auto record = std::make_unique<WindowRecord>();
    record->design = design;
    auto* widget = new WindowWidget(design.systemFrame);
    record->widget = widget;
    widget->setObjectName(ToQt(design.name));
    widget->setWindowTitle(ToQt(design.caption));
    widget->setFixedSize(design.geometry.width, design.geometry.height);
    widget->move(design.geometry.x, design.geometry.y);
    // The background decodes on a thread of its own while the controls are built.
    std::future<QImage> background;
    if (!design.background.empty()) {
        background = std::async(std::launch::async,
                                [path = ArtworkPath(design.background)] { return QImage(path); });
    }

    const std::string name = design.name;
    QObject::connect(widget, &WindowWidget::CloseRequested, widget,
                     [this, name] { Dispatch([&](WindowEvents& e) { e.OnCloseRequest(name); }); });
    QObject::connect(widget, &WindowWidget::FirstActivation, widget, [this, name] {
        Dispatch([&](WindowEvents& e) { e.OnFirstActivation(name); });
    });
    QObject::connect(widget, &WindowWidget::FirstPaint, widget, [this, name] {
        if (firstPaintListener) firstPaintListener(name);
    });

    WindowRecord& built = *record;
    windows.emplace(design.name, std::move(record));
    // In description order: a later control lies on top of an earlier one.
    for (const ControlDesign& control : design.controls) BuildControl(built, control);
    if (background.valid()) widget->SetBackground(QPixmap::fromImage(background.get()));
    return true;
}

void QtWindowSystem::BuildControl(WindowRecord& record, const ControlDesign& design) {
    using K = ControlKind;
    QWidget* window = record.widget;
    QWidget* parent = window;
    if (!design.parent.empty()) {
        const auto panel = record.controls.find(design.parent);
        if (panel != record.controls.end() && panel->second.widget) parent = panel->second.widget;
    }
    const std::string w = record.design.name;
    const std::string c = design.name;
    const auto click = [this, w, c] { Dispatch([&](WindowEvents& e) { e.OnClick(w, c); }); };
    const auto focusLost = [this, w, c] {
        Dispatch([&](WindowEvents& e) { e.OnFocusLost(w, c); });
    };

    ControlRecord control;
    control.design = design;
    control.geometry = design.geometry;
    QWidget* widget = nullptr;
    switch (design.kind) {
        case K::Label:
        case K::TransparentLabel: {
            QLabel* label = nullptr;
            if (design.look == ControlLook::Die) {
                label = new DieLabel(parent);
            } else if (design.look == ControlLook::WindowTitle) {
                label = new TitleLabel(parent);
            } else {
                label = new QLabel(parent);
            }
            label->setTextFormat(Qt::PlainText);
            // A plain label has its own background; a transparent one shows what is under it.
            label->setAutoFillBackground(design.kind == K::Label);
            ApplyLook(label, design.look);
            widget = label;
            break;
        }
        case K::PictureButton: {
            auto* button = new PictureButton(Artwork(design.picture), parent);
            QObject::connect(button, &QAbstractButton::clicked, button, click);
            widget = button;
            break;
        }
        case K::Button: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            QObject::connect(button, &QAbstractButton::clicked, button, click);
            widget = button;
            break;
        }
        case K::Panel:
            widget = new PanelWidget(parent);
            break;
        case K::Timer: {
            auto* timer = new QTimer(window);
            timer->setObjectName(ToQt(design.name));
            QObject::connect(timer, &QTimer::timeout, timer,
                             [this, w, c] { Dispatch([&](WindowEvents& e) { e.OnTimer(w, c); }); });
            control.timer = timer;
            break;
        }
        case K::EditBox: {
            auto* edit = new QLineEdit(parent);
            edit->installEventFilter(new FocusLostFilter(edit, focusLost));
            widget = edit;
            break;
        }
        case K::SpinEditBox: {
            auto* spin = new SpinEdit(parent);
            QObject::connect(spin, &SpinEdit::FocusLost, spin, focusLost);
            widget = spin;
            break;
        }
        case K::PlanEditBox: {
            auto* box = new PlanBox(parent);
            box->characterFilter = [this, w, c](int code) {
                int answer = code;
                Dispatch([&](WindowEvents& e) { answer = e.OnCharacter(w, c, code); });
                return pending ? 0 : answer;
            };
            box->rightButtonUp = [this, w, c] {
                bool consumed = false;
                Dispatch([&](WindowEvents& e) { consumed = e.OnRightButtonUp(w, c); });
                return consumed || pending;
            };
            widget = box;
            break;
        }
        case K::ComboBox: {
            auto* combo = new QComboBox(parent);
            for (const std::string& item : design.items) combo->addItem(ToQt(item));
            widget = combo;
            break;
        }
        case K::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, parent);
            slider->setRange(0, 100);
            QObject::connect(slider, &QSlider::valueChanged, slider, [this, w, c] {
                Dispatch([&](WindowEvents& e) { e.OnSliderMoved(w, c); });
            });
            widget = slider;
            break;
        }
        case K::ListView: {
            auto* list = new QTreeWidget(parent);
            list->setColumnCount(std::max<int>(1, static_cast<int>(design.columns.size())));
            QStringList titles;
            for (const ListColumn& column : design.columns) titles << ToQt(column.title);
            list->setHeaderLabels(titles);
            for (int i = 0; i < static_cast<int>(design.columns.size()); ++i) {
                list->setColumnWidth(i, design.columns[static_cast<size_t>(i)].width);
            }
            // The window draws its own header strip above the list.
            list->setHeaderHidden(true);
            list->header()->setStretchLastSection(false);
            list->setRootIsDecorated(false);
            list->setUniformRowHeights(true);
            list->setAlternatingRowColors(true);
            list->setFrameShape(QFrame::NoFrame);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            widget = list;
            break;
        }
        case K::Browser: {
            auto* page = new PageView(parent);
            QObject::connect(page, &PageView::LinkClicked, page, [this, w, c](const QUrl& url) {
                Navigate(w, c, FromQt(url.toString()));
            });
            widget = page;
            break;
        }
        case K::BalloonTip: {
            auto* tip = new BalloonTip(window);
            tip->setObjectName(ToQt(design.name));
            control.widget = tip;
            break;
        }
        case K::PictureBox: {
            auto* picture = new QLabel(parent);
            const QPixmap image = Artwork(design.picture);
            if (!image.isNull()) {
                const QSize size(design.geometry.width, design.geometry.height);
                picture->setPixmap(
                    image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            }
            picture->setAlignment(Qt::AlignCenter);
            widget = picture;
            break;
        }
    }
    if (widget) {
        widget->setObjectName(ToQt(design.name));
        widget->setGeometry(ToQRect(design.geometry));
        if (!design.visible) widget->hide();
        control.widget = widget;
    }
    record.controls.emplace(design.name, std::move(control));
    SetText(w, c, design.text);
    for (const auto& row : design.rows) InsertListRow(w, c, ListRowCount(w, c), row);
}

bool QtWindowSystem::WindowExists(std::string_view window) const {
    return FindWindow(window) != nullptr;
}

void QtWindowSystem::DestroyWindow(std::string_view window) {
    const auto it = windows.find(window);
    if (it == windows.end()) return;
    const std::unique_ptr<WindowRecord> record = std::move(it->second);
    windows.erase(it);
    for (auto& [name, control] : record->controls) {
        if (control.timer) control.timer->stop();
    }
    // Later, not now: the program may destroy a window from inside one of its
    // widgets' own signals (the close button).
    if (QWidget* widget = record->widget) {
        std::erase_if(destroyed, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
        destroyed.push_back(widget);
        widget->hide();
        widget->deleteLater();
    }
    RethrowPending();
}

void QtWindowSystem::ShowWindow(std::string_view window) {
    WindowRecord* record = FindWindow(window);
    if (!record || !record->widget) return;
    WindowWidget* widget = record->widget;
    if (widget->isMinimized()) {
        widget->showNormal();
    } else {
        widget->show();
    }
    widget->raise();
    widget->activateWindow();
    if (!widget->Painted()) {
        QEventLoop loop;
        QObject::connect(widget, &WindowWidget::FirstPaint, &loop, &QEventLoop::quit);
        QTimer::singleShot(kFirstPaintWaitMs, &loop, &QEventLoop::quit);
        RunLoop(loop);
    }
    RethrowPending();
}

bool QtWindowSystem::WindowVisible(std::string_view window) const {
    const WindowRecord* record = FindWindow(window);
    return record && record->widget && record->widget->isVisible();
}

void QtWindowSystem::MinimiseWindow(std::string_view window) {
    if (WindowRecord* record = FindWindow(window); record && record->widget) {
        record->widget->showMinimized();
    }
    RethrowPending();
}

void QtWindowSystem::SetWindowCaption(std::string_view window, std::string_view caption) {
    if (WindowRecord* record = FindWindow(window); record && record->widget) {
        record->widget->setWindowTitle(ToQt(caption));
    }
}

std::string QtWindowSystem::WindowCaption(std::string_view window) const {
    const WindowRecord* record = FindWindow(window);
    return record && record->widget ? FromQt(record->widget->windowTitle()) : std::string();
}

Rect QtWindowSystem::WindowGeometry(std::string_view window) const {
    const WindowRecord* record = FindWindow(window);
    return record && record->widget ? ToRect(record->widget->geometry()) : Rect{};
}

void QtWindowSystem::SetWindowBackground(std::string_view window, std::string_view picture) {
    if (WindowRecord* record = FindWindow(window); record && record->widget) {
        record->widget->SetBackground(Artwork(std::string(picture)));
    }
}

// --- control properties

std::string QtWindowSystem::Text(std::string_view window, std::string_view control) const {
    const ControlRecord* c = Find(window, control);
    if (!c) return {};
    switch (c->design.kind) {
        case ControlKind::EditBox:
            if (auto* edit = qobject_cast<QLineEdit*>(c->widget)) return FromQt(edit->text());
            break;
        case ControlKind::SpinEditBox:
            if (auto* spin = qobject_cast<SpinEdit*>(c->widget)) return FromQt(spin->Text());
            break;
        case ControlKind::ComboBox:
            if (auto* combo = qobject_cast<QComboBox*>(c->widget)) {
                return combo->currentIndex() >= 0 ? FromQt(combo->currentText()) : std::string();
            }
            break;
        default:
            break;
    }
    // Everything else shows what the program wrote, which the user cannot change.
    return c->text;
}

void QtWindowSystem::SetText(std::string_view window, std::string_view control,
                             std::string_view text) {
    ControlRecord* c = Find(window, control);
    if (!c) return;
    c->text = std::string(text);
    QWidget* widget = c->widget;
    if (auto* label = qobject_cast<QLabel*>(widget);
        label && c->design.kind != ControlKind::PictureBox) {
        label->setText(ShownText(text));
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(ShownText(text));
    } else if (auto* box = qobject_cast<PlanBox*>(widget)) {
        box->SetPlanText(ShownText(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(ToQt(text));
    } else if (auto* spin = qobject_cast<SpinEdit*>(widget)) {
        spin->SetText(ToQt(text));
    }
}

Rect QtWindowSystem::Geometry(std::string_view window, std::string_view control) const {
    const ControlRecord* c = Find(window, control);
    if (!c) return {};
    if (c->widget && c->design.kind != ControlKind::BalloonTip)
        return ToRect(c->widget->geometry());
    return c->geometry;
}

void QtWindowSystem::SetGeometry(std::string_view window, std::string_view control,
                                 const Rect& geometry) {
    ControlRecord* c = Find(window, control);
    if (!c) return;
    c->geometry = geometry;
    if (c->widget && c->design.kind != ControlKind::BalloonTip) {
        c->widget->setGeometry(ToQRect(geometry));
    }
}

bool QtWindowSystem::Visible(std::string_view window, std::string_view control) const {
    const ControlRecord* c = Find(window, control);
    if (!c) return false;
    if (c->design.kind == ControlKind::BalloonTip) return c->widget && c->widget->isVisible();
    if (c->widget) return !c->widget->isHidden();
    return c->design.visible;
}

void QtWindowSystem::SetVisible(std::string_view window, std::string_view control, bool visible) {
    ControlRecord* c = Find(window, control);
    if (!c) return;
    c->design.visible = visible;
    if (c->widget && (c->design.kind != ControlKind::BalloonTip || !visible)) {
        c->widget->setVisible(visible);
    }
    RethrowPending();
}

void QtWindowSystem::SetBackgroundColour(std::string_view window, std::string_view control,
                                         unsigned rgb) {
    ControlRecord* c = Find(window, control);
    if (!c || !c->widget) return;
    const QColor colour(QRgb(rgb & 0xFFFFFFu));
    if (auto* panel = qobject_cast<PanelWidget*>(c->widget)) {
        panel->SetColour(colour);
        return;
    }
    QPalette palette = c->widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    c->widget->setPalette(palette);
    c->widget->setAutoFillBackground(true);
}

void QtWindowSystem::SetSelectionStart(std::string_view window, std::string_view control,
                                       int position) {
    ControlRecord* c = Find(window, control);
    if (!c) return;
    if (auto* box = qobject_cast<PlanBox*>(c->widget)) {
        box->PlaceCaret(position);
    } else if (auto* edit = qobject_cast<QLineEdit*>(c->widget)) {
        edit->setCursorPosition(position < 0 ? static_cast<int>(edit->text().size()) : position);
    }
}

int QtWindowSystem::ComboSelection(std::string_view window, std::string_view control) const {
    const ControlRecord* c = Find(window, control);
    const auto* combo = c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
    return combo ? combo->currentIndex() : -1;
}

void QtWindowSystem::SetComboSelection(std::string_view window, std::string_view control,
                                       int index) {
    ControlRecord* c = Find(window, control);
    auto* combo = c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
    if (!combo) return;
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void QtWindowSystem::SetSliderRange(std::string_view window, std::string_view control, int minimum,
                                    int maximum) {
    ControlRecord* c = Find(window, control);
    auto* slider = c ? qobject_cast<QSlider*>(c->widget) : nullptr;
    if (!slider) return;
    const QSignalBlocker quiet(slider);
    slider->setRange(minimum, std::max(minimum, maximum));
}

int QtWindowSystem::SliderPosition(std::string_view window, std::string_view control) const {
    const ControlRecord* c = Find(window, control);
    const auto* slider = c ? qobject_cast<QSlider*>(c->widget) : nullptr;
    return slider ? slider->value() : 0;
}

void QtWindowSystem::SetSliderPosition(std::string_view window, std::string_view control,
                                       int position) {
    ControlRecord* c = Find(window, control);
    auto* slider = c ? qobject_cast<QSlider*>(c->widget) : nullptr;
    if (!slider) return;
    slider->setValue(position);  // clamped by the slider; a change is reported
    RethrowPending();
}

void QtWindowSystem::SetSpinRange(std::string_view window, std::string_view control, int minimum,
                                  int maximum) {
    ControlRecord* c = Find(window, control);
    if (auto* spin = c ? qobject_cast<SpinEdit*>(c->widget) : nullptr) {
        spin->SetRange(minimum, maximum);
    }
}

void QtWindowSystem::InsertListRow(std::string_view window, std::string_view control, int index,
                                   const std::vector<std::string>& cells) {
    ControlRecord* c = Find(window, control);
    auto* list = c ? qobject_cast<QTreeWidget*>(c->widget) : nullptr;
    if (!list) return;
    QStringList texts;
    for (const std::string& cell : cells) texts << ToQt(cell);
    const int at = std::clamp(index, 0, list->topLevelItemCount());
    list->insertTopLevelItem(at, new QTreeWidgetItem(texts));
}

void QtWindowSystem::ClearListRows(std::string_view window, std::string_view control) {
    ControlRecord* c = Find(window, control);
    if (auto* list = c ? qobject_cast<QTreeWidget*>(c->widget) : nullptr) list->clear();
}

int QtWindowSystem::ListRowCount(std::string_view window, std::string_view control) const {
    const ControlRecord* c = Find(window, control);
    const auto* list = c ? qobject_cast<QTreeWidget*>(c->widget) : nullptr;
    return list ? list->topLevelItemCount() : 0;
}

std::string QtWindowSystem::ListCell(std::string_view window, std::string_view control, int row,
                                     int column) const {
    const ControlRecord* c = Find(window, control);
    const auto* list = c ? qobject_cast<QTreeWidget*>(c->widget) : nullptr;
    const QTreeWidgetItem* item = list ? list->topLevelItem(row) : nullptr;
    if (!item || column < 0 || column >= item->columnCount()) return {};
    return FromQt(item->text(column));
}

void QtWindowSystem::SetTimerPeriod(std::string_view window, std::string_view timer,
                                    int milliseconds) {
    ControlRecord* c = Find(window, timer);
    if (!c || !c->timer) return;
    c->timerPeriod = std::max(milliseconds, 0);
    if (c->timerPeriod == 0) {
        c->timer->stop();
    } else {
        c->timer->start(c->timerPeriod);
    }
}

int QtWindowSystem::TimerPeriod(std::string_view window, std::string_view timer) const {
    const ControlRecord* c = Find(window, timer);
    return c ? c->timerPeriod : 0;
}

void QtWindowSystem::SetBrowserAddress(std::string_view window, std::string_view control,
                                       std::string_view url) {
    ControlRecord* c = Find(window, control);
    if (!c || !qobject_cast<PageView*>(c->widget)) return;
    // Setting the address starts a navigation, which the program may cancel. This
    // is the program's own call, so its handler runs directly.
    if (events && events->OnBeforeNavigate(window, control, url)) return;
    if ((c = Find(window, control))) {
        c->address = std::string(url);
        if (auto* page = qobject_cast<PageView*>(c->widget)) page->Open(QUrl(ToQt(url)));
    }
}

void QtWindowSystem::Navigate(const std::string& window, const std::string& control,
                              const std::string& url) {
    bool cancelled = false;
    Dispatch([&](WindowEvents& e) { cancelled = e.OnBeforeNavigate(window, control, url); });
    if (cancelled || pending) return;
    if (ControlRecord* c = Find(window, control)) {
        c->address = url;
        if (auto* page = qobject_cast<PageView*>(c->widget)) page->Open(QUrl(ToQt(url)));
    }
}

std::string QtWindowSystem::BrowserAddress(std::string_view window,
                                           std::string_view control) const {
    const ControlRecord* c = Find(window, control);
    return c ? c->address : std::string();
}

// --- services

void QtWindowSystem::ProcessPendingEvents() {
    QCoreApplication::processEvents();
    RethrowPending();
}

MessageResult QtWindowSystem::ShowMessage(std::string_view text, MessageButtons buttons) {
    // Centred over the window the user is looking at, if any.
    QWidget* parent = nullptr;
    for (const auto& [name, record] : windows) {
        if (record->widget && record->widget->isVisible() && !record->widget->isMinimized()) {
            parent = record->widget;
            if (record->widget->isActiveWindow()) break;
        }
    }
    QMessageBox box(parent);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QString());
    box.setTextFormat(Qt::PlainText);
    box.setText(ShownText(text));
    QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    QPushButton* cancel = buttons == MessageButtons::OkCancel
                              ? box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole)
                              : nullptr;
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel ? cancel : ok);
    box.setWindowModality(Qt::ApplicationModal);
    if (!pending) {
        boxes.push_back(&box);
        box.exec();
        boxes.erase(std::find(boxes.begin(), boxes.end(), &box));
    }
    RethrowPending();
    if (buttons == MessageButtons::Ok) return MessageResult::Ok;
    return box.clickedButton() == ok ? MessageResult::Ok : MessageResult::Cancel;
}

void QtWindowSystem::SetClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(ShownText(text));
}

std::string QtWindowSystem::ClipboardText() const {
    return FromQt(QGuiApplication::clipboard()->text());
}

void QtWindowSystem::ShowBalloonTip(std::string_view window, std::string_view control,
                                    std::string_view text, int x, int y) {
    ControlRecord* c = Find(window, control);
    if (!c) return;
    c->text = std::string(text);
    if (auto* tip = qobject_cast<BalloonTip*>(c->widget)) tip->Pop(ShownText(text), QPoint(x, y));
}

int QtWindowSystem::RunMessageLoop() {
    if (!quitRequested) {
        QEventLoop loop;
        messageLoop = &loop;
        RunLoop(loop);
        messageLoop = nullptr;
    }
    RethrowPending();
    return exitCode;
}

void QtWindowSystem::QuitMessageLoop(int code) {
    exitCode = code;
    quitRequested = true;
    if (messageLoop) messageLoop->exit(code);
}

}  // namespace veltra
