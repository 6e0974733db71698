// The one crossing between the system's GBK text and Qt's QString. Every text that reaches a
// widget or comes back from one passes through here, so a byte that is not valid GB18030
// survives the round trip (it travels as a private-use code point).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace yelian {

QString toQString(std::string_view gbk);
std::string fromQString(const QString& text);

// Multi-line editors keep their lines apart with "\n"; the system's texts use CR LF. A lone CR
// or LF becomes a line break as well, and every line break reads back as CR LF.
QString toEditorText(std::string_view gbk);
std::string fromEditorText(const QString& text);

// Character positions as the control operations count them (one per GB18030 character, two
// for a CR LF line break) against positions in a QString (UTF-16 units, one per "\n").
// lineBreakChars is 2 for multi-line editors and 1 where "\n" stands for itself. A position
// past the end gives the end.
int qtPositionOf(const QString& text, int characters, int lineBreakChars);
int characterPositionOf(const QString& text, int qtPosition, int lineBreakChars);

}  // namespace yelian
