#include "platform/Emblema.h"

#include <QPainter>

QPixmap EmblemaPrograma()
{
    QPixmap p(48, 48);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0x1f, 0x5f, 0xa8));
    g.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    QFont f = g.font();
    f.setPixelSize(30);
    f.setBold(true);
    g.setFont(f);
    g.setPen(Qt::white);
    g.drawText(QRect(0, 0, 48, 48), Qt::AlignCenter, QStringLiteral("Q"));
    return p;
}
