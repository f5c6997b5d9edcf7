#pragma once
#include <QFont>

namespace vorlu {

// Calibri where installed; the family falls back to the closest sans font.
inline QFont calibri(int points, bool bold = false)
{
    QFont f(QStringLiteral("Calibri"));
    f.setStyleHint(QFont::SansSerif);
    f.setFamilies({QStringLiteral("Calibri"), QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans")});
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

} // namespace vorlu
