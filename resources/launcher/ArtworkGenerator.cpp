// Draws Kiosa's pictures and the desktop icons. Run by hand after changing a drawing:
//   cmake --build build --target kiosa-artwork
// The pictures are committed, so a normal build never needs this program.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor kNavy(14, 38, 71);
const QColor kDeepTeal(18, 92, 112);
const QColor kAmber(255, 190, 70);
const QColor kConcrete(170, 172, 168);
const QColor kRust(176, 84, 34);

QFont CjkFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage NewImage(int width, int height, bool opaque) {
    QImage image(width, height, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

bool Save(const QImage& image, const QString& path) {
    QImage out = image;
    if (image.format() == QImage::Format_RGB32) out = image.convertToFormat(QImage::Format_RGB888);
    if (!out.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), out.width(), out.height());
    return true;
}

// The background, drawn for the 390 x 225 picture that the window stretches to 410 x 234.
// The texts drawn into the pictures, in one language.
struct Wording {
    QString title, subtitle, prompt, left, right, suffix;
};
const Wording kChinese = {QStringLiteral("钢筋位置及锈蚀测定仪"),
                          QStringLiteral("Velmar  ·  数据分析软件  V1.10"),
                          QStringLiteral("请选择要启动的程序"),
                          QStringLiteral("电阻率测试"),
                          QStringLiteral("锈蚀测定"),
                          QString()};
const Wording kEnglish = {QStringLiteral("Rebar and Corrosion Tester"),
                          QStringLiteral("Velmar  ·  Data Analysis  V1.10"),
                          QStringLiteral("Choose the program to start"),
                          QStringLiteral("Resistivity"),
                          QStringLiteral("Corrosion"),
                          QStringLiteral("-en")};

QImage Background(const Wording& words) {
    QImage image = NewImage(390, 225, true);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 390, 225);
    sky.setColorAt(0, kNavy);
    sky.setColorAt(1, kDeepTeal);
    p.fillRect(image.rect(), sky);

    // A faint rebar mesh behind everything.
    p.setPen(QPen(QColor(255, 255, 255, 14), 2));
    for (int x = -10; x < 390; x += 26) p.drawLine(x, 0, x + 40, 225);
    for (int y = 6; y < 225; y += 26) p.drawLine(0, y, 390, y);

    // Soft light behind the two buttons.
    for (int cx : {105, 295}) {
        QRadialGradient glow(cx, 112, 90);
        glow.setColorAt(0, QColor(120, 200, 220, 60));
        glow.setColorAt(1, QColor(120, 200, 220, 0));
        p.fillRect(image.rect(), glow);
    }

    // Title band; the close button sits to its right.
    p.setPen(QColor(255, 255, 255));
    p.setFont(CjkFont(17, true));
    p.drawText(QRect(16, 8, 320, 26), Qt::AlignLeft | Qt::AlignVCenter, words.title);
    p.setPen(QColor(170, 210, 225));
    p.setFont(CjkFont(10));
    p.drawText(QRect(17, 32, 320, 14), Qt::AlignLeft | Qt::AlignVCenter, words.subtitle);
    QLinearGradient rule(16, 0, 374, 0);
    rule.setColorAt(0, kAmber);
    rule.setColorAt(1, QColor(255, 190, 70, 0));
    p.fillRect(QRectF(16, 49, 358, 1.5), rule);

    // A quiet divider between the two choices.
    p.setPen(QPen(QColor(255, 255, 255, 50), 1, Qt::DotLine));
    p.drawLine(QPointF(200, 70), QPointF(200, 160));

    p.setPen(QColor(190, 220, 230));
    p.setFont(CjkFont(11));
    p.drawText(QRect(0, 188, 390, 22), Qt::AlignCenter, words.prompt);
    return image;
}

// Concrete block with four probes on it: the resistivity measurement.
void DrawResistivityEmblem(QPainter& p, QRectF box) {
    const QRectF block(box.left(), box.top() + box.height() * 0.42, box.width(),
                       box.height() * 0.58);
    QLinearGradient stone(block.topLeft(), block.bottomLeft());
    stone.setColorAt(0, kConcrete.lighter(115));
    stone.setColorAt(1, kConcrete.darker(125));
    p.setPen(QPen(QColor(90, 92, 90), 1));
    p.setBrush(stone);
    p.drawRoundedRect(block, 3, 3);
    QRandomGenerator speckle(7);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        p.setBrush(QColor(100, 100, 96, 60 + speckle.bounded(80)));
        const qreal x = block.left() + 3 + speckle.bounded(block.width() - 6);
        const qreal y = block.top() + 3 + speckle.bounded(block.height() - 6);
        p.drawEllipse(QPointF(x, y), 0.9, 0.9);
    }
    // Four evenly spaced probes, the outer pair feeding current.
    const qreal step = box.width() / 5;
    for (int i = 1; i <= 4; ++i) {
        const qreal x = box.left() + step * i;
        const bool outer = i == 1 || i == 4;
        p.setPen(QPen(outer ? kAmber : QColor(110, 220, 240), qMax(2.2, box.width() * 0.03),
                      Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, box.top() + box.height() * 0.12), QPointF(x, block.top() + 2));
    }
    // The meter's Ω stamped into the concrete, between the inner probes.
    p.setPen(QColor(30, 50, 80, 220));
    p.setFont(CjkFont(int(block.height() * 0.62), true));
    p.drawText(block.adjusted(0, 2, 0, 0), Qt::AlignCenter, QStringLiteral("Ω"));
}

// A ribbed bar with rust eating into it: the corrosion measurement.
void DrawCorrosionEmblem(QPainter& p, QRectF box) {
    const qreal barHeight = box.height() * 0.26;
    const QRectF bar(box.left(), box.center().y() - barHeight / 2 + box.height() * 0.1, box.width(),
                     barHeight);
    QLinearGradient steel(bar.topLeft(), bar.bottomLeft());
    steel.setColorAt(0, QColor(200, 206, 212));
    steel.setColorAt(0.5, QColor(120, 128, 136));
    steel.setColorAt(1, QColor(70, 76, 84));
    p.setPen(Qt::NoPen);
    p.setBrush(steel);
    p.drawRoundedRect(bar, barHeight / 2, barHeight / 2);
    p.setPen(QPen(QColor(60, 64, 70, 170), 1.2));
    for (qreal x = bar.left() + 5; x < bar.right() - 3; x += 5.5)
        p.drawLine(QPointF(x, bar.top() + 1), QPointF(x + 3, bar.bottom() - 1));
    QRandomGenerator patches(11);
    p.setPen(Qt::NoPen);
    // Rust thickens towards the right end, where the cover has cracked.
    for (int i = 0; i < 22; ++i) {
        const qreal along = 0.3 + 0.68 * std::sqrt(patches.bounded(1.0));
        QColor rust = kRust.darker(90 + patches.bounded(50));
        rust.setAlpha(110 + int(120 * along));
        p.setBrush(rust);
        const qreal x = bar.left() + bar.width() * along;
        const qreal y = bar.top() + bar.height() * (0.15 + 0.7 * patches.bounded(1.0));
        const qreal r = barHeight * (0.08 + 0.14 * patches.bounded(1.0)) * (0.6 + along);
        p.drawEllipse(QPointF(x, y), r * 1.5, r);
    }
    // Half-cell potential reading above the bar.
    p.setPen(QColor(255, 255, 255));
    p.setFont(CjkFont(int(box.height() * 0.22), true));
    p.drawText(QRectF(box.left(), box.top(), box.width(), box.height() * 0.42), Qt::AlignCenter,
               QStringLiteral("-350 mV"));
}

// One of the two big buttons: a glassy card with an emblem and its name.
QImage ProgramButton(int width, int height, bool hovered, const QString& title, const QString& name,
                     const std::function<void(QPainter&, QRectF)>& emblem) {
    QImage image = NewImage(width, height, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF card = QRectF(image.rect()).adjusted(2, 2, -2, -2);
    QLinearGradient glass(card.topLeft(), card.bottomLeft());
    glass.setColorAt(0, QColor(255, 255, 255, hovered ? 95 : 50));
    glass.setColorAt(1, QColor(255, 255, 255, hovered ? 40 : 14));
    p.setBrush(glass);
    p.setPen(QPen(hovered ? kAmber : QColor(255, 255, 255, 110), hovered ? 2.5 : 1.2));
    p.drawRoundedRect(card, 10, 10);

    const qreal inset = hovered ? 14 : 17;
    emblem(p, QRectF(card.left() + inset, card.top() + 10, card.width() - 2 * inset,
                     card.height() * 0.5));

    p.setPen(hovered ? kAmber : QColor(255, 255, 255));
    p.setFont(CjkFont(14, true));
    p.drawText(QRectF(card.left(), card.top() + card.height() * 0.62, card.width(), 20),
               Qt::AlignCenter, title);
    p.setPen(QColor(200, 225, 235));
    p.setFont(CjkFont(10));
    p.drawText(QRectF(card.left(), card.top() + card.height() * 0.62 + 20, card.width(), 16),
               Qt::AlignCenter, name);
    return image;
}

QImage CloseButton(bool hovered) {
    QImage image = NewImage(31, 17, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setBrush(hovered ? QColor(216, 52, 60) : QColor(255, 255, 255, 40));
    p.setPen(QPen(hovered ? QColor(240, 120, 120) : QColor(255, 255, 255, 110), 1));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = box.center();
    p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
    return image;
}

void RoundedTile(QPainter& p, int size, QColor top, QColor bottom) {
    const QRectF tile(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(tile, size * 0.18, size * 0.18);
}

// Kiosa: two small cards side by side, the choice the window offers.
QImage KiosaIcon(int size) {
    QImage image = NewImage(size, size, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    RoundedTile(p, size, kDeepTeal.lighter(120), kNavy);
    const qreal w = size * 0.3;
    const qreal h = size * 0.5;
    const qreal top = size * 0.25;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 220, 240));
    p.drawRoundedRect(QRectF(size * 0.16, top, w, h), size * 0.05, size * 0.05);
    p.setBrush(kAmber);
    p.drawRoundedRect(QRectF(size * 0.54, top, w, h), size * 0.05, size * 0.05);
    if (size >= 32) {
        // Ω for the resistivity program, a rusting bar for the corrosion one.
        p.setPen(kNavy);
        p.setFont(CjkFont(int(w * 0.8), true));
        p.drawText(QRectF(size * 0.16, top, w, h), Qt::AlignCenter, QStringLiteral("Ω"));
        const QPointF from(size * 0.59, top + h * 0.78);
        const QPointF to(size * 0.79, top + h * 0.22);
        p.setPen(QPen(kNavy, qMax(2.0, size / 16.0), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
        p.setPen(Qt::NoPen);
        p.setBrush(kRust);
        p.drawEllipse(to + (from - to) * 0.3, size * 0.045, size * 0.045);
    }
    return image;
}

// Ohmlet: the concrete block with its probes.
QImage OhmletIcon(int size) {
    QImage image = NewImage(size, size, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    RoundedTile(p, size, kDeepTeal.lighter(130), kNavy);
    DrawResistivityEmblem(p, QRectF(size * 0.16, size * 0.14, size * 0.68, size * 0.7));
    return image;
}

// A DZL file: a page with a folded corner and the Ohmlet mark.
QImage DzlFileIcon(int size) {
    QImage image = NewImage(size, size, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal l = size * 0.18, t = size * 0.06, r = size * 0.82, b = size * 0.94;
    const qreal fold = size * 0.2;
    QPainterPath page;
    page.moveTo(l, t);
    page.lineTo(r - fold, t);
    page.lineTo(r, t + fold);
    page.lineTo(r, b);
    page.lineTo(l, b);
    page.closeSubpath();
    p.setPen(QPen(QColor(120, 130, 140), qMax(1.0, size / 64.0)));
    p.setBrush(QColor(250, 251, 252));
    p.drawPath(page);
    p.setBrush(QColor(215, 222, 228));
    QPainterPath corner;
    corner.moveTo(r - fold, t);
    corner.lineTo(r - fold, t + fold);
    corner.lineTo(r, t + fold);
    p.drawPath(corner);
    const qreal side = (r - l) * 0.7;
    const QRectF mark((l + r - side) / 2, t + (b - t) * 0.3, side, side * 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(kDeepTeal);
    p.drawRoundedRect(mark, size * 0.05, size * 0.05);
    p.setPen(QColor(255, 255, 255));
    p.setFont(CjkFont(qMax(6, int(side * 0.55)), true));
    p.drawText(mark, Qt::AlignCenter, QStringLiteral("Ω"));
    if (size >= 32) {
        p.setPen(QColor(60, 70, 80));
        p.setFont(CjkFont(int(size * 0.14), true));
        p.drawText(QRectF(l, mark.bottom(), r - l, b - mark.bottom()), Qt::AlignCenter,
                   QStringLiteral("DZL"));
    }
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kiosa-artwork LAUNCHER_FOLDER DESKTOP_ICON_FOLDER\n");
        return 2;
    }
    const QDir launcher(QString::fromLocal8Bit(argv[1]));
    const QDir icons(QString::fromLocal8Bit(argv[2]));
    bool ok = true;
    for (const Wording& words : {kChinese, kEnglish}) {
        const auto name = [&](const char* base) {
            return launcher.filePath(QString::fromLatin1(base) + words.suffix + ".png");
        };
        const auto left = [&](bool hovered, int w, int h) {
            return ProgramButton(w, h, hovered, words.left, QStringLiteral("Ohmlet"),
                                 DrawResistivityEmblem);
        };
        const auto right = [&](bool hovered, int w, int h) {
            return ProgramButton(w, h, hovered, words.right, QStringLiteral("Ferrolog"),
                                 DrawCorrosionEmblem);
        };
        ok = Save(Background(words), name("background")) && ok;
        ok = Save(left(false, 106, 120), name("left-normal")) && ok;
        ok = Save(left(true, 107, 120), name("left-hover")) && ok;
        ok = Save(right(false, 107, 120), name("right-normal")) && ok;
        ok = Save(right(true, 104, 119), name("right-hover")) && ok;
    }
    ok = Save(CloseButton(false), launcher.filePath("close-normal.png")) && ok;
    ok = Save(CloseButton(true), launcher.filePath("close-hover.png")) && ok;
    ok = Save(KiosaIcon(64), launcher.filePath("kiosa.png")) && ok;
    for (int size : {16, 32, 48, 128, 256}) {
        const QString suffix = QStringLiteral("-%1.png").arg(size);
        ok = Save(KiosaIcon(size), icons.filePath("kiosa" + suffix)) && ok;
        ok = Save(OhmletIcon(size), icons.filePath("ohmlet" + suffix)) && ok;
        ok = Save(DzlFileIcon(size), icons.filePath("application-x-ohmlet-dzl" + suffix)) && ok;
    }
    return ok ? 0 : 1;
}
