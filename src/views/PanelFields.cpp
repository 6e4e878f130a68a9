#include "views/PanelFields.h"

#include "report/GbkCodec.h"

namespace ohmlet {

QString PanelResistivity(float value) {
    return QString::asprintf("%.1f kΩ*cm", static_cast<double>(value));
}
QString PanelPercent(float rate) {
    return QString::asprintf("%.1f", static_cast<double>(rate) * 100.0) + QLatin1Char('%');
}

std::string GbkPrefix(const QString& text, std::size_t maxBytes) {
    std::string bytes = ToGbk(text);
    if (bytes.size() <= maxBytes) return bytes;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t len = static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return bytes.substr(0, i);
}

}  // namespace ohmlet
