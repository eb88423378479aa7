#include "Fonts.h"

#include <QStringList>

namespace toolkit {

namespace {
void registerSubstitutes()
{
    static const bool done = [] {
        const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("DejaVu Sans")};
        QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
        return true;
    }();
    Q_UNUSED(done);
}
} // namespace

QFont Fonts::font(const QString &family, qreal pointSize, int weight)
{
    registerSubstitutes();
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

} // namespace toolkit
