#include "qt/input_dialog_placement.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "controls/input_dialog_table.h"
#include "shell/input_dialog.h"

namespace yelian {
namespace {

void place(QtWindow& dialog, std::string_view control, const Geometry& geometry,
           const WidgetScale& scale) {
    if (QtWindow::Control* c = dialog.control(control); c != nullptr && c->widget != nullptr) {
        c->widget->setGeometry(scale.rect(geometry));
    }
}

// Information mode: Enter closes the dialog, and the text keeps the background of an editable
// box (a read-only box would otherwise look disabled on some styles).
void applyModeLook(QtWindow& dialog, bool inputMode) {
    const QtWindow::Control* cancel = dialog.control(kInputCancelButton);
    if (auto* button = cancel != nullptr ? qobject_cast<QPushButton*>(cancel->widget) : nullptr) {
        button->setDefault(!inputMode);
    }
    const QtWindow::Control* text = dialog.control(kInputTextEdit);
    if (auto* edit = text != nullptr ? qobject_cast<QPlainTextEdit*>(text->widget) : nullptr) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, dialog.palette().color(QPalette::Active, QPalette::Base));
        edit->setPalette(palette);
    }
}

// The layout rule counts 12 pixels a prompt line; Linux CJK fonts need more. The prompt keeps
// its lines (the rule's count) at the font's own line spacing, in a frameless box, and the
// text box gives up the difference.
void fitPromptToItsFont(QtWindow& dialog, InputDialogLayout& layout) {
    constexpr int kRuleLinePixels = 12;
    const QtWindow::Control* prompt = dialog.control(kInputPromptEdit);
    auto* edit = prompt != nullptr ? qobject_cast<QPlainTextEdit*>(prompt->widget) : nullptr;
    if (edit == nullptr) return;
    edit->setFrameShape(QFrame::NoFrame);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setBackgroundRole(QPalette::Window);
    edit->document()->setDocumentMargin(0);
    const int lines = layout.prompt.height / kRuleLinePixels;
    const int extra =
        std::min(lines * (edit->fontMetrics().lineSpacing() - kRuleLinePixels), layout.text.height);
    layout.prompt.height += extra;
    layout.text.top += extra;
    layout.text.height -= extra;
}

}  // namespace

void placeInputDialog(QtWindow& dialog, const DialogRequest& request, const WidgetScale& scale) {
    // The rule counts in design pixels; the screen may have more of them.
    const int width = static_cast<int>(dialog.width() / scale.factor);
    const int height = static_cast<int>(dialog.height() / scale.factor);
    InputDialogLayout layout = inputDialogLayout(request, width, height);
    fitPromptToItsFont(dialog, layout);
    place(dialog, kInputPromptEdit, layout.prompt, scale);
    place(dialog, kInputTextEdit, layout.text, scale);
    place(dialog, kInputToolbarFrame, layout.toolbar, scale);
    place(dialog, kInputOkButton, layout.ok, scale);
    place(dialog, kInputCancelButton, layout.cancel, scale);
    applyModeLook(dialog, request.inputMode);
}

void installInputDialogPlacement(QtControls& controls, const DialogRequest& request) {
    const WidgetScale scale = controls.scale();
    controls.setArrangement(kInputDialogWindow, [&request, scale](QtWindow& dialog) {
        placeInputDialog(dialog, request, scale);
    });
}

}  // namespace yelian
