#include "report/GbkCodec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace ohmlet {

// Making a converter loads ICU's tables by name, which costs far more than converting a
// short text; each thread keeps one of each and starts it afresh for every text.

QString FromGbk(std::string_view gbk) {
    thread_local QStringDecoder decoder("GBK");
    decoder.resetState();
    return decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

std::string ToGbk(const QString& text) {
    thread_local QStringEncoder encoder("GBK");
    encoder.resetState();
    QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace ohmlet
