#include "qt/qt_text.h"

#include "support/gbk_text.h"

namespace yelian {
namespace {

// The units of one character starting at index: two for a surrogate pair.
int unitsAt(const QString& text, int index) {
    return text.at(index).isHighSurrogate() && index + 1 < text.size() &&
                   text.at(index + 1).isLowSurrogate()
               ? 2
               : 1;
}

int charactersOf(QChar unit, int lineBreakChars) {
    return unit == u'\n' ? lineBreakChars : 1;
}

}  // namespace

QString toQString(std::string_view gbk) {
    const std::string utf8 = gbkToUtf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string fromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString toEditorText(std::string_view gbk) {
    QString text = toQString(gbk);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

std::string fromEditorText(const QString& text) {
    QString withCrLf = text;
    withCrLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    withCrLf.replace(u'\r', u'\n');
    withCrLf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return fromQString(withCrLf);
}

int qtPositionOf(const QString& text, int characters, int lineBreakChars) {
    int index = 0;
    int counted = 0;
    while (index < text.size()) {
        const int next = counted + charactersOf(text.at(index), lineBreakChars);
        // A position between the CR and the LF of a line break stays before the break.
        if (next > characters) break;
        counted = next;
        index += unitsAt(text, index);
    }
    return index;
}

int characterPositionOf(const QString& text, int qtPosition, int lineBreakChars) {
    int counted = 0;
    for (int index = 0; index < qtPosition && index < text.size(); index += unitsAt(text, index)) {
        counted += charactersOf(text.at(index), lineBreakChars);
    }
    return counted;
}

}  // namespace yelian
