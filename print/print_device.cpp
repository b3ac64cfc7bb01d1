#include "print_device.h"

using namespace Qt::StringLiterals;

QString installedFace(const QString& layoutFace)
{
    // The layouts name the Windows Mincho faces; IPA's Mincho faces have the
    // same metrics class (fixed and proportional).
    if (layoutFace == u"ＭＳ 明朝"_s || layoutFace == u"MS Mincho"_s)
        return u"IPAMincho"_s;
    if (layoutFace == u"ＭＳ Ｐ明朝"_s || layoutFace == u"MS PMincho"_s)
        return u"IPAPMincho"_s;
    if (layoutFace == u"ＭＳ ゴシック"_s)
        return u"IPAGothic"_s;
    if (layoutFace == u"ＭＳ Ｐゴシック"_s)
        return u"IPAPGothic"_s;
    return layoutFace;
}

void PrintDevice::print(const QString& text)
{
    drawText(text, currentX, currentY);
    currentY += textHeight(text);
    currentX = scaleLeft;
}

QPointF PrintDevice::correction() const
{
    return orientation == Orientation::Landscape ? correctionLandscape : correctionPortrait;
}

QPointF PrintDevice::toAreaMm(double x, double y) const
{
    const QPointF c = correction();
    return QPointF(x - scaleLeft + c.x(), y - scaleTop + c.y());
}
