// Draws the toolbar and program icons as PNG files (24 px and 48 px "@2x"):
//   make_icons OUTDIR
// Built by hand when an icon changes:
//   g++ -std=c++17 -fPIC make_icons.cpp $(pkg-config --cflags --libs Qt6Gui) -o make_icons
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

const QColor kOutline(60, 60, 70);

void Folder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1.0));
    QLinearGradient back(0, 4, 0, 20);
    back.setColorAt(0, QColor(250, 215, 110));
    back.setColorAt(1, QColor(225, 170, 50));
    p.setBrush(back);
    QPainterPath tab;
    tab.moveTo(2.5, 19.5);
    tab.lineTo(2.5, 5.5);
    tab.lineTo(8.5, 5.5);
    tab.lineTo(10.5, 7.5);
    tab.lineTo(19.5, 7.5);
    tab.lineTo(19.5, 19.5);
    tab.closeSubpath();
    p.drawPath(tab);
    QLinearGradient front(0, 10, 0, 20);
    front.setColorAt(0, QColor(255, 232, 150));
    front.setColorAt(1, QColor(240, 190, 70));
    p.setBrush(front);
    QPainterPath flap;
    flap.moveTo(2.5, 19.5);
    flap.lineTo(6.0, 10.5);
    flap.lineTo(22.5, 10.5);
    flap.lineTo(19.5, 19.5);
    flap.closeSubpath();
    p.drawPath(flap);
}

void Disk(QPainter& p) {
    p.setPen(QPen(QColor(30, 60, 120), 1.0));
    QLinearGradient body(0, 3, 0, 21);
    body.setColorAt(0, QColor(90, 140, 215));
    body.setColorAt(1, QColor(40, 85, 165));
    p.setBrush(body);
    QPainterPath path;
    path.moveTo(3.5, 3.5);
    path.lineTo(17.5, 3.5);
    path.lineTo(20.5, 6.5);
    path.lineTo(20.5, 20.5);
    path.lineTo(3.5, 20.5);
    path.closeSubpath();
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 240, 248));
    p.drawRect(QRectF(6.5, 4, 10, 6));
    p.setBrush(QColor(40, 85, 165));
    p.drawRect(QRectF(13.5, 5, 2, 4));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(6, 13, 12, 7));
    p.setPen(QPen(QColor(170, 180, 200), 0.8));
    p.drawLine(QPointF(7.5, 15.5), QPointF(16.5, 15.5));
    p.drawLine(QPointF(7.5, 17.5), QPointF(16.5, 17.5));
}

void Panel(QPainter& p) {
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(250, 250, 252));
    p.drawRect(QRectF(2.5, 3.5, 19, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 120, 200));
    p.drawRect(QRectF(3, 4, 18, 3));
    p.setBrush(QColor(205, 222, 245));
    p.drawRect(QRectF(3, 7, 7, 13));
    p.setPen(QPen(QColor(70, 120, 200), 1.0));
    for (double y : {9.5, 12.5, 15.5}) p.drawLine(QPointF(4.5, y), QPointF(8.5, y));
    p.setPen(QPen(QColor(160, 160, 170), 0.8));
    for (double y : {10.5, 13.5, 16.5}) p.drawLine(QPointF(12, y), QPointF(19.5, y));
}

void Transfer(QPainter& p) {
    // The hand-held tester, with its readings flowing down to the computer.
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(235, 130, 40));
    p.drawRoundedRect(QRectF(2.5, 2.5, 10, 17), 2, 2);
    p.setBrush(QColor(210, 235, 215));
    p.drawRect(QRectF(4.5, 4.5, 6, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 70));
    for (double y : {12.0, 15.0})
        for (double x : {4.5, 7.0, 9.5}) p.drawRect(QRectF(x, y, 1.6, 1.6));
    p.setBrush(QColor(40, 150, 70));
    QPainterPath arrow;
    arrow.moveTo(14, 8);
    arrow.lineTo(17, 8);
    arrow.lineTo(17, 12);
    arrow.lineTo(20, 12);
    arrow.lineTo(15.5, 17.5);
    arrow.lineTo(11, 12);
    arrow.lineTo(14, 12);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(20, 100, 40), 0.8));
    p.drawPath(arrow);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(12.5, 18.5, 9, 3));
}

void Document(QPainter& p, const QColor& band, const QString& letter) {
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(252, 252, 252));
    QPainterPath page;
    page.moveTo(5.5, 2.5);
    page.lineTo(15.5, 2.5);
    page.lineTo(20.5, 7.5);
    page.lineTo(20.5, 21.5);
    page.lineTo(5.5, 21.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setPen(QPen(QColor(170, 170, 180), 0.8));
    for (double y : {9.5, 12.5, 15.5, 18.5}) p.drawLine(QPointF(12, y), QPointF(18.5, y));
    p.setPen(QPen(band.darker(140), 1.0));
    p.setBrush(band);
    p.drawRoundedRect(QRectF(1.5, 8.5, 10, 10), 1.5, 1.5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(9);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 8.5, 10, 10), Qt::AlignCenter, letter);
}

void Word(QPainter& p) { Document(p, QColor(45, 90, 175), QStringLiteral("W")); }
void Excel(QPainter& p) { Document(p, QColor(30, 130, 70), QStringLiteral("X")); }

void About(QPainter& p) {
    QRadialGradient g(QPointF(10, 9), 12);
    g.setColorAt(0, QColor(110, 165, 235));
    g.setColorAt(1, QColor(35, 90, 180));
    p.setPen(QPen(QColor(25, 65, 140), 1.0));
    p.setBrush(g);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(10.6, 5.8, 2.8, 2.8));
    p.drawRoundedRect(QRectF(10.7, 10, 2.6, 8), 1, 1);
}

void Program(QPainter& p) {
    // A concrete block with the four-probe reading: the program's own mark.
    QLinearGradient block(0, 8, 0, 22);
    block.setColorAt(0, QColor(190, 190, 185));
    block.setColorAt(1, QColor(140, 140, 135));
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(block);
    p.drawRect(QRectF(1.5, 13.5, 21, 8));
    p.setPen(QPen(QColor(235, 130, 40), 1.6));
    for (double x : {5.0, 9.7, 14.3, 19.0}) p.drawLine(QPointF(x, 8), QPointF(x, 13.5));
    p.setPen(QPen(QColor(35, 90, 180), 1.0));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(4.5, 1.5, 15, 7), 1.5, 1.5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(7);
    p.setFont(font);
    p.setPen(QColor(35, 90, 180));
    p.drawText(QRectF(4.5, 1.5, 15, 7), Qt::AlignCenter, QStringLiteral("kΩ"));
}

void Render(const QString& dir, const QString& name, const std::function<void(QPainter&)>& draw) {
    for (int scale : {1, 2}) {
        QImage image(24 * scale, 24 * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        draw(p);
        p.end();
        image.save(dir + QLatin1Char('/') + name +
                   (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png")));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    Render(dir, QStringLiteral("open"), Folder);
    Render(dir, QStringLiteral("save"), Disk);
    Render(dir, QStringLiteral("panel"), Panel);
    Render(dir, QStringLiteral("transfer"), Transfer);
    Render(dir, QStringLiteral("word"), Word);
    Render(dir, QStringLiteral("excel"), Excel);
    Render(dir, QStringLiteral("about"), About);
    Render(dir, QStringLiteral("ohmlet"), Program);
    return 0;
}
