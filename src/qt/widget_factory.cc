#include "qt/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTabWidget>
#include <QTextBrowser>
#include <cmath>

#ifdef YELIAN_WEBENGINE
#include <QWebEngineView>
#endif

#include "qt/qt_text.h"

namespace yelian {
namespace {

using enum ControlKind;

// The design counts in pixels of a 96-DPI screen.
constexpr double kDesignDpi = 96.0;
// Noto Sans CJK at 12 pixels fills the cells the design's 9-point Chinese font filled.
constexpr int kFontPixels = 12;

// A push button whose caption keeps to the part of the button that no other control covers
// (the folder filter lies over the folder button), and breaks at its blanks where one line
// does not fit (the narrow "更 多" button), as the design's buttons show them.
class DesignButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect area = captionArea();
        int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
        if (fontMetrics().horizontalAdvance(text()) > area.width()) flags |= Qt::TextWordWrap;
        style()->drawItemText(&painter, area, flags, palette(), isEnabled(), text(),
                              QPalette::ButtonText);
    }

  private:
    static constexpr int kCaptionMargin = 2;

    QRect captionArea() const {
        QRect area =
            rect().adjusted(kCaptionMargin, kCaptionMargin, -kCaptionMargin, -kCaptionMargin);
        const QWidget* parent = parentWidget();
        if (parent == nullptr) return area;
        const QObjectList& siblings = parent->children();
        // Widgets created later lie above this one.
        for (qsizetype i = siblings.indexOf(this) + 1; i < siblings.size(); ++i) {
            const auto* sibling = qobject_cast<const QWidget*>(siblings.at(i));
            if (sibling == nullptr || sibling->isHidden()) continue;
            const QRect over = sibling->geometry().translated(-pos());
            if (over.intersects(rect()) && over.left() > area.left()) {
                area.setRight(std::min(area.right(), over.left() - kCaptionMargin));
            }
        }
        return area;
    }
};

void setCaption(QLabel* label, const ControlSpec& spec) {
    label->setText(toEditorText(spec.text));
    if (label->text().contains(u'\n')) label->setWordWrap(true);
}

QWidget* makeLabel(const ControlSpec& spec, QWidget* parent) {
    auto* label = new QLabel(parent);
    setCaption(label, spec);
    // A captionless label two pixels high is the design's horizontal rule.
    if (spec.text.empty() && spec.geometry.height <= 2) {
        label->setFrameShape(QFrame::HLine);
        label->setFrameShadow(QFrame::Sunken);
    }
    return label;
}

QWidget* makeLinkLabel(const ControlSpec& spec, QWidget* parent) {
    auto* label = new QLabel(parent);
    setCaption(label, spec);
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x1a, 0x5f, 0xb4));
    label->setPalette(palette);
    return label;
}

// The design's pictures are our own drawings: a rounded tile with the first character of
// what the picture stands for, or, for a wide picture, the whole name.
QPixmap drawPicture(const QString& subject, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = QColor::fromHsv(static_cast<int>(qHash(subject) % 360), 140, 190);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    const QRectF tile = QRectF(pixmap.rect()).adjusted(4, 4, -4, -4);
    painter.drawRoundedRect(tile, 10, 10);
    const bool wide = size.width() > 2 * size.height();
    QFont font = designFont();
    font.setPixelSize(wide ? size.height() / 3 : size.height() / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(tile, Qt::AlignCenter, wide ? subject : subject.left(1));
    return pixmap;
}

QWidget* makePicture(const ControlSpec& spec, QWidget* parent, const WidgetScale& scale) {
    auto* picture = new QLabel(parent);
    // The names say what a picture is for after the kind word "图片".
    const QString subject = toQString(spec.name).mid(2);
    const QRect rect = scale.rect(spec.geometry);
    picture->setPixmap(drawPicture(subject, rect.size()));
    picture->setCursor(Qt::PointingHandCursor);
    return picture;
}

QWidget* makeEdit(const ControlSpec& spec, QWidget* parent) {
    if (spec.multiline) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setPlainText(toEditorText(spec.text));
        edit->setReadOnly(spec.readOnly);
        return edit;
    }
    auto* edit = new QLineEdit(toQString(spec.text), parent);
    edit->setReadOnly(spec.readOnly);
    edit->setCursorPosition(0);
    return edit;
}

QStringList itemTexts(const std::vector<std::string>& items) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items) texts.append(toQString(item));
    return texts;
}

QWidget* makeComboBox(const ControlSpec& spec, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(spec.editable);
    combo->addItems(itemTexts(spec.items));
    combo->setCurrentIndex(spec.selectedIndex);
    if (spec.editable && spec.selectedIndex < 0) combo->setEditText(toQString(spec.text));
    return combo;
}

QWidget* makeListBox(const ControlSpec& spec, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->addItems(itemTexts(spec.items));
    list->setCurrentRow(spec.selectedIndex);
    return list;
}

QWidget* makeTabPage(const ControlSpec& spec, QWidget* parent) {
    auto* page = new QWidget;
    if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
        tabs->addTab(page, toQString(spec.text));
    } else {
        page->setParent(parent);
    }
    return page;
}

QWidget* makeCheckable(const ControlSpec& spec, QWidget* parent) {
    QAbstractButton* button = spec.kind == CheckBox
                                  ? static_cast<QAbstractButton*>(new QCheckBox(parent))
                                  : new QRadioButton(parent);
    button->setText(toQString(spec.text));
    button->setChecked(spec.checked);
    return button;
}

QWidget* makeFrame(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

// The picture box of the header bar holds other pictures: a plain white band.
QWidget* makePictureBox(QWidget* parent) {
    auto* box = new QFrame(parent);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, Qt::white);
    box->setPalette(palette);
    return box;
}

QWidget* makeWidget(const ControlSpec& spec, QWidget* parent, const WidgetScale& scale,
                    bool isContainer) {
    switch (spec.kind) {
        case Button: {
            auto* button = new DesignButton(toQString(spec.text), parent);
            button->setAutoDefault(false);
            return button;
        }
        case EditBox:
            return makeEdit(spec, parent);
        case CheckBox:
        case RadioButton:
            return makeCheckable(spec, parent);
        case ComboBox:
            return makeComboBox(spec, parent);
        case ListBox:
            return makeListBox(spec, parent);
        case Label:
            return makeLabel(spec, parent);
        case GroupBox:
            return new QGroupBox(toQString(spec.text), parent);
        case TabControl:
            return new QTabWidget(parent);
        case TabPage:
            return makeTabPage(spec, parent);
        case Picture:
            return isContainer ? makePictureBox(parent) : makePicture(spec, parent, scale);
        case LinkLabel:
            return makeLinkLabel(spec, parent);
        case DropTarget: {
            // Drops are taken by the whole window; the design's drop object shows nothing.
            auto* target = new QWidget(parent);
            target->hide();
            return target;
        }
        case Frame:
            return makeFrame(parent);
        case Browser:
#ifdef YELIAN_WEBENGINE
            return new QWebEngineView(parent);
#else
            return new QTextBrowser(parent);
#endif
        case Window:
        case MenuItem:
            return nullptr;
    }
    return nullptr;
}

}  // namespace

QRect WidgetScale::rect(const Geometry& geometry) const {
    return {pixels(geometry.left), pixels(geometry.top), pixels(geometry.width),
            pixels(geometry.height)};
}

int WidgetScale::pixels(int designPixels) const {
    return static_cast<int>(std::lround(designPixels * factor));
}

WidgetScale screenScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : kDesignDpi;
    // Qt scales whole screens by their device pixel ratio already; this covers a font DPI
    // set above the default.
    return {std::max(1.0, dpi / kDesignDpi)};
}

QFont designFont() {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(kFontPixels);
    return font;
}

QWidget* createControlWidget(const ControlSpec& spec, QWidget* parent, const WidgetScale& scale,
                             bool isContainer) {
    QWidget* widget = makeWidget(spec, parent, scale, isContainer);
    if (widget == nullptr) return nullptr;
    widget->setObjectName(toQString(spec.name));
    if (spec.kind != TabPage) widget->setGeometry(scale.rect(spec.geometry));
    if (!spec.visible) widget->hide();
    widget->setEnabled(spec.enabled);
    return widget;
}

}  // namespace yelian
