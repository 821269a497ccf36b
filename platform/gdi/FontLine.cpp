#include "platform/gdi/FontLine.h"

#include <QFontMetrics>
#include <algorithm>

FontLine::FontLine(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int accents = -metrics.tightBoundingRect(QStringLiteral("\u00C5\u00C9\u00DC")).top();
    m_ascent = std::max(metrics.ascent(), accents);
    m_height = m_ascent + std::max(metrics.descent(), metrics.height() - metrics.ascent());
}
