// CDC's text: DrawText's line breaking, alignment, prefixes and ellipsis.
#include "platform/gdi/CDC.h"

#include "platform/gdi/FontLine.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <vector>

namespace
{
// One line as drawn, with the index of the character its prefix underlines (or -1); a line
// that wrapping split off continues the paragraph of the one before.
struct TextLine {
    QString text;
    int underline = -1;
    bool continues = false;
};

// The text without its prefix marks, each "&x" leaving x's index in underlines.
QString StripPrefixes(const QString& text, std::vector<int>& underlines)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            shown += text[i];
        } else if (i + 1 < text.size()) {
            if (text[i + 1] != u'&')
                underlines.push_back(int(shown.size()));
            shown += text[++i];
        }
    }
    return shown;
}

int UnderlineIn(const std::vector<int>& underlines, int start, int length)
{
    for (int index : underlines) {
        if (index >= start && index < start + length)
            return index - start;
    }
    return -1;
}

// The lines of one paragraph, wrapped at width when wrap is set.
void AddParagraph(const QString& paragraph, int start, const std::vector<int>& underlines,
                  const QFont& font, int width, bool wrap, std::vector<TextLine>& lines)
{
    if (!wrap || paragraph.isEmpty()) {
        lines.push_back({paragraph, UnderlineIn(underlines, start, int(paragraph.size()))});
        return;
    }
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 1));
        const QString text = paragraph.mid(line.textStart(), line.textLength());
        lines.push_back({text, UnderlineIn(underlines, start + line.textStart(), int(text.size())),
                         line.textStart() > 0});
    }
    layout.endLayout();
}

std::vector<TextLine> BreakLines(const QString& shown, const std::vector<int>& underlines,
                                 const QFont& font, int width, UINT format)
{
    std::vector<TextLine> lines;
    if (format & DT_SINGLELINE) {
        QString flat = shown;
        flat.replace(u'\r', u' ').replace(u'\n', u' ');
        lines.push_back({flat, UnderlineIn(underlines, 0, int(flat.size()))});
        return lines;
    }
    int start = 0;
    for (const QString& paragraph : shown.split(u'\n')) {
        QString text = paragraph;
        if (text.endsWith(u'\r'))
            text.chop(1);
        AddParagraph(text, start, underlines, font, width, format & DT_WORDBREAK, lines);
        start += int(paragraph.size()) + 1;
    }
    return lines;
}

int WidthOf(const QFontMetrics& metrics, const QString& text)
{
    // Trailing blanks of a wrapped line take no room.
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return metrics.horizontalAdvance(text.left(end));
}

// Ends the last line that fits in height (and every line wider than width) in an ellipsis.
void Elide(std::vector<TextLine>& lines, const QFontMetrics& metrics, int lineHeight, int width,
           int height, UINT format)
{
    size_t fitting = lines.size();
    if (!(format & DT_SINGLELINE)) {
        // An edit control shows no partly visible last line.
        const int visible =
            format & DT_EDITCONTROL ? height / lineHeight : (height + lineHeight - 1) / lineHeight;
        fitting = std::clamp<size_t>(size_t(std::max(visible, 1)), 1, lines.size());
    }
    if (fitting < lines.size()) {
        // A wrapped paragraph goes on as it was; the next one after a blank.
        for (size_t i = fitting; i < lines.size(); ++i)
            lines[fitting - 1].text += lines[i].continues ? lines[i].text : u' ' + lines[i].text;
        lines.resize(fitting);
    }
    for (TextLine& line : lines) {
        if (WidthOf(metrics, line.text) <= width)
            continue;
        line.text = metrics.elidedText(line.text, Qt::ElideRight, width);
        if (line.underline >= line.text.size() - 1)
            line.underline = -1;
    }
}
} // namespace

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format)
{
    const CString all(text ? text : "");
    return DrawText(count < 0 ? all : all.Left(count), rect, format);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format)
{
    const QFont font = m_painter->font();
    const QFontMetrics metrics(font);
    const FontLine fontLine(font);
    const int lineHeight = fontLine.Height();
    std::vector<int> underlines;
    const QString raw = QString::fromStdString(text.Str());
    const QString shown = format & DT_NOPREFIX ? raw : StripPrefixes(raw, underlines);
    CRect area(*rect);
    std::vector<TextLine> lines = BreakLines(shown, underlines, font, area.Width(), format);
    if (format & DT_CALCRECT) {
        int width = 0;
        for (const TextLine& line : lines)
            width = std::max(width, WidthOf(metrics, line.text));
        rect->right = rect->left + width;
        rect->bottom = rect->top + lineHeight * int(lines.size());
        return lineHeight * int(lines.size());
    }
    if (format & DT_END_ELLIPSIS)
        Elide(lines, metrics, lineHeight, area.Width(), area.Height(), format);
    const int textHeight = lineHeight * int(lines.size());
    int y = area.top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        y = area.top + (area.Height() - textHeight) / 2;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        y = area.bottom - textHeight;

    m_painter->save();
    if (!(format & DT_NOCLIP))
        m_painter->setClipRect(QRect(area.left, area.top, area.Width(), area.Height()),
                               Qt::IntersectClip);
    const QColor ink = ToQColor(m_textColour);
    m_painter->setPen(ink);
    for (const TextLine& line : lines) {
        const int width = WidthOf(metrics, line.text);
        int x = area.left;
        if (format & DT_RIGHT)
            x = area.right - width;
        else if (format & DT_CENTER)
            x = area.left + (area.Width() - width) / 2;
        if (m_bkMode == OPAQUE)
            m_painter->fillRect(QRect(x, y, width, lineHeight), ToQColor(m_bkColour));
        m_painter->drawText(QPoint(x, y + fontLine.Ascent()), line.text);
        if (line.underline >= 0) {
            const int left = x + metrics.horizontalAdvance(line.text.left(line.underline));
            const int length = metrics.horizontalAdvance(line.text.at(line.underline));
            m_painter->fillRect(QRect(left, y + fontLine.Ascent() + metrics.underlinePos(), length,
                                      std::max(1, metrics.lineWidth())),
                                ink);
        }
        y += lineHeight;
    }
    m_painter->restore();
    return textHeight;
}

CSize CDC::GetTextExtent(const CString& text) const
{
    const QFontMetrics metrics(m_painter->font());
    return CSize(metrics.horizontalAdvance(QString::fromStdString(text.Str())),
                 FontLine(m_painter->font()).Height());
}
