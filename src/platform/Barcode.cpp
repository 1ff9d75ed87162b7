#include "platform/Barcode.h"

#include <zint.h>

#include <cstring>
#include <memory>

namespace Barcode {

QString TextoCode39(const QString& texto)
{
    QString t = texto;
    if (t.startsWith(QLatin1Char('*'))) t.remove(0, 1);
    if (t.endsWith(QLatin1Char('*'))) t.chop(1);
    return t;
}

QImage Code39(const QString& texto, QString* error)
{
    const QString t = TextoCode39(texto);
    if (t.isEmpty()) {
        if (error) *error = QStringLiteral("sin texto");
        return QImage();
    }
    // Code 39 is plain ASCII; anything else cannot be a symbol character.
    for (const QChar c : t) {
        if (c.unicode() > 0x7E || c.unicode() < 0x20) {
            if (error) *error = QStringLiteral("carácter no válido en Code 39");
            return QImage();
        }
    }
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> sym(ZBarcode_Create(), ZBarcode_Delete);
    if (!sym) {
        if (error) *error = QStringLiteral("sin memoria");
        return QImage();
    }
    sym->symbology = BARCODE_CODE39;
    sym->show_hrt = 0;
    sym->scale = 0.5f; // one pixel per module in raster output
    sym->height = 10.0f;
    sym->whitespace_width = 0;
    sym->border_width = 0;
    const QByteArray data = t.toLatin1();
    int rc = ZBarcode_Encode(sym.get(), reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    if (rc >= ZINT_ERROR) {
        if (error) *error = QString::fromLatin1(sym->errtxt);
        return QImage();
    }
    rc = ZBarcode_Buffer(sym.get(), 0);
    if (rc >= ZINT_ERROR || !sym->bitmap || sym->bitmap_width <= 0 || sym->bitmap_height <= 0) {
        if (error) *error = QString::fromLatin1(sym->errtxt);
        return QImage();
    }
    const int w = sym->bitmap_width;
    const int h = sym->bitmap_height;
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        std::memcpy(img.scanLine(y), sym->bitmap + static_cast<size_t>(y) * w * 3, static_cast<size_t>(w) * 3);
    if (error) error->clear();
    return img;
}

}
