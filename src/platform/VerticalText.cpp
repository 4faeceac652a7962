#include "platform/VerticalText.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <string>

namespace VerticalText {

namespace {

char32_t CodePoint(QStringView ch) {
    if (ch.isEmpty())
        return 0;
    if (ch.size() > 1 && ch.at(0).isHighSurrogate() && ch.at(1).isLowSurrogate())
        return QChar::surrogateToUcs4(ch.at(0), ch.at(1));
    return ch.at(0).unicode();
}

// The signs that lie along a line and so turn with it in a column.
bool IsTurned(char32_t u) {
    static const std::u32string turned =
        U"ー―－‐‑‒–—〜～〰…‥＝（）［］｛｝〈〉《》「」『』【】〔〕〖〗〘〙〚〛｟｠：；＜＞｜＿";
    return turned.find(u) != std::u32string::npos;
}

bool IsUpperRight(char32_t u) {
    static const std::u32string small = U"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ、。，．"
                                        U"ㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ";
    return small.find(u) != std::u32string::npos;
}

bool IsNarrow(char32_t u) {
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F) || (u >= 0xFFE8 && u <= 0xFFEE))
        return true;
    if (u >= 0x1100)
        return false;
    // Greek, Cyrillic and these Latin-1 signs are two-byte (full-width) characters of the code
    // page.
    if ((u >= 0x0370 && u <= 0x04FF) || u == 0xA7 || u == 0xA8 || u == 0xB0 || u == 0xB1 ||
        u == 0xB4 || u == 0xB6 || u == 0xD7 || u == 0xF7)
        return false;
    return true;
}

bool IsAscii(char32_t u) {
    return u > u' ' && u < 0x7F;
}

bool IsHalfWidthKana(char32_t u) {
    return u >= 0xFF61 && u <= 0xFF9F;
}

bool IsVoicingMark(char32_t u) {
    return u == 0xFF9E || u == 0xFF9F;
}

// Letters and digits of either width, as their ASCII forms; 0 for other characters.
char32_t NarrowAlnum(char32_t u) {
    if (u >= 0xFF10 && u <= 0xFF5A)
        u -= 0xFEE0;
    const bool alnum =
        (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
    return alnum ? u : 0;
}

bool IsDigit(char32_t u) {
    const char32_t narrow = NarrowAlnum(u);
    return narrow >= u'0' && narrow <= u'9';
}

// What joins the numbers of a telephone number, a postal code, a date or a time into one.
bool JoinsNumbers(char32_t u) {
    static const std::u32string joints = U"-－―‐ー.．,，:：/／";
    return joints.find(u) != std::u32string::npos;
}

QString FullWidthOfAscii(char32_t u) {
    return QString(QChar(char16_t(u + 0xFEE0)));
}

// A half-width kana with the voicing mark after it as the one full-width kana it stands for.
QString FullWidthKana(QStringView kana) {
    if (kana.size() == 1 && kana.at(0).unicode() == 0xFF9E)
        return QStringLiteral("゛");
    if (kana.size() == 1 && kana.at(0).unicode() == 0xFF9F)
        return QStringLiteral("゜");
    return kana.toString().normalized(QString::NormalizationForm_KC);
}

Placement PlacementOfFullWidth(char32_t u) {
    if (IsTurned(u))
        return Placement::Turned;
    if (IsUpperRight(u))
        return Placement::UpperRight;
    return Placement::Upright;
}

// Half-width Latin text that lies turned: a word with a small letter, a mail or web address.
bool IsLyingLatin(QStringView word) {
    return std::any_of(word.begin(), word.end(),
                       [](QChar c) { return (c >= u'a' && c <= u'z') || c == u'@' || c == u'/'; });
}

class CellBuilder {
public:
    explicit CellBuilder(const QString &text) : text_(text) {}

    QList<Cell> Build() {
        while (at_ < text_.size()) {
            const char32_t u = CodePoint(QStringView(text_).mid(at_));
            if (IsAscii(u) && !IsAscii(Before(at_)) && IsLyingLatin(AsciiWordAt(at_)))
                AddLyingWord();
            else if (NarrowAlnum(u))
                AddAlnumRun();
            else if (IsHalfWidthKana(u))
                AddKana();
            else if (IsAscii(u))
                Add(FullWidthOfAscii(u), PlacementOfFullWidth(u + 0xFEE0), 1);
            else
                AddOther(u);
        }
        return cells_;
    }

private:
    char32_t Before(qsizetype i) const { return i > 0 ? text_.at(i - 1).unicode() : 0; }
    char32_t At(qsizetype i) const { return i < text_.size() ? text_.at(i).unicode() : 0; }

    QStringView AsciiWordAt(qsizetype from) const {
        qsizetype end = from;
        while (end < text_.size() && IsAscii(text_.at(end).unicode()))
            ++end;
        return QStringView(text_).mid(from, end - from);
    }

    void Add(const QString &shown, Placement place, int chars) {
        cells_.append({shown, place, chars});
        at_ += chars;
    }

    void AddLyingWord() {
        const QStringView word = AsciiWordAt(at_);
        for (QChar c : word)
            Add(QString(c), Placement::Turned, 1);
    }

    // Two letters or digits, or three with a digit, share a cell, unless they are part of a
    // longer number such as a telephone number, whose digits all stand alike.
    void AddAlnumRun() {
        qsizetype end = at_;
        while (end < text_.size() && NarrowAlnum(text_.at(end).unicode()))
            ++end;
        const qsizetype length = end - at_;
        bool hasDigit = false;
        QString narrow;
        for (qsizetype i = at_; i < end; ++i) {
            hasDigit = hasDigit || IsDigit(At(i));
            narrow += QChar(char16_t(NarrowAlnum(At(i))));
        }
        const bool joined = hasDigit && ((JoinsNumbers(Before(at_)) && IsDigit(Before(at_ - 1))) ||
                                         (JoinsNumbers(At(end)) && IsDigit(At(end + 1))));
        if (!joined && (length == 2 || (length == 3 && hasDigit))) {
            Add(narrow, Placement::SideBySide, int(length));
            return;
        }
        for (QChar c : narrow)
            Add(FullWidthOfAscii(c.unicode()), Placement::Upright, 1);
    }

    void AddKana() {
        const int chars = IsVoicingMark(At(at_ + 1)) && !IsVoicingMark(At(at_)) ? 2 : 1;
        const QString kana = FullWidthKana(QStringView(text_).mid(at_, chars));
        Add(kana, PlacementOfFullWidth(CodePoint(kana)), chars);
    }

    void AddOther(char32_t u) {
        const int chars = u > 0xFFFF ? 2 : 1;
        const QString ch = text_.mid(at_, chars);
        Add(ch, IsHalfWidth(ch) ? Placement::Turned : PlacementOfFullWidth(u), chars);
    }

    const QString &text_;
    qsizetype at_ = 0;
    QList<Cell> cells_;
};

} // namespace

bool IsHalfWidth(const QString &ch) {
    return IsNarrow(CodePoint(ch));
}

Placement PlacementOf(const QString &ch) {
    const QList<Cell> cells = CellsOf(ch);
    return cells.isEmpty() ? Placement::Upright : cells.first().Place;
}

QList<Cell> CellsOf(const QString &text) {
    return CellBuilder(text).Build();
}

int Advance(const QFontMetrics &metrics, int cellHeight, const Cell &cell) {
    if (cell.Text.isEmpty())
        return 0;
    if (cell.Place == Placement::Turned && IsHalfWidth(cell.Text))
        return metrics.horizontalAdvance(cell.Text);
    return cellHeight;
}

int ColumnLength(const QFontMetrics &metrics, int cellHeight, const QString &text) {
    // Fitting measures a text at every size it tries; kanji and kana, each a cell of its own,
    // are counted without building the cells.
    const bool ownCells = std::none_of(text.begin(), text.end(), [](QChar c) {
        const char32_t u = c.unicode();
        return IsAscii(u) || IsHalfWidthKana(u) || NarrowAlnum(u) || c.isSurrogate();
    });
    int length = 0;
    if (ownCells) {
        for (QChar c : text)
            length += IsNarrow(c.unicode()) ? metrics.horizontalAdvance(c) : cellHeight;
        return length;
    }
    for (const Cell &cell : CellsOf(text))
        length += Advance(metrics, cellHeight, cell);
    return length;
}

void DrawCell(QPainter &painter, const Cell &cell, qreal columnRight, qreal top, int cellHeight,
              int advance) {
    const QString &ch = cell.Text;
    if (ch.isEmpty())
        return;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal width = metrics.horizontalAdvance(ch);
    const qreal ascent = metrics.ascent();
    const qreal h = cellHeight;
    const qreal left = columnRight - h;
    // The character's cell as drawn horizontally, centred in its place in the column.
    const QPointF origin(left + (h - width) / 2, top + (advance - h) / 2 + ascent);
    switch (cell.Place) {
    case Placement::Upright:
        painter.drawText(origin, ch);
        break;
    case Placement::UpperRight: {
        // Anchored at the upper right: the glyph keeps its side bearing as the gap above it, and
        // its distance from the foot of the cell as the gap on the right.
        const QRectF glyph = metrics.tightBoundingRect(ch).translated(origin);
        const qreal cellTop = top + (advance - h) / 2;
        const qreal leftGap = glyph.left() - origin.x();
        const qreal bottomGap = cellTop + h - glyph.bottom();
        const QPointF shift(columnRight - bottomGap - glyph.right(),
                            cellTop + leftGap - glyph.top());
        painter.drawText(origin + shift, ch);
        break;
    }
    case Placement::SideBySide: {
        // Narrowed, when wider than the column, to leave a tenth of it free.
        const qreal room = h * 0.9;
        const qreal squeeze = width > room ? room / width : 1.0;
        painter.save();
        painter.translate(left + h / 2, origin.y());
        painter.scale(squeeze, 1);
        painter.drawText(QPointF(-width / 2, 0), ch);
        painter.restore();
        break;
    }
    case Placement::Turned:
        painter.save();
        painter.translate(left + h / 2, top + advance / 2.0);
        painter.rotate(90);
        painter.drawText(QPointF(-width / 2, -h / 2 + ascent), ch);
        painter.restore();
        break;
    }
}

} // namespace VerticalText
