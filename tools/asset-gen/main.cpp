// asset-gen: draws every picture the window uses and writes them as PNG files,
// with the icon also as an SVG file.
//
//   asset-gen OUTPUT_DIR
//
// Run tools/asset-gen/regenerate.sh rather than calling it by hand.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <utility>
#include <vector>

#include "pictures.h"

namespace {

using assetgen::FaceStyle;

struct Output {
    QString name;
    QImage image;
};

// Plate colours: one blue for the sheet actions, a darker one for the window
// actions, each brighter while pressed.
const QColor kMidTop(88, 142, 218), kMidBottom(36, 90, 178);
const QColor kMidTopPressed(146, 194, 252), kMidBottomPressed(76, 140, 228);
const QColor kDarkTop(60, 90, 152), kDarkBottom(22, 46, 104);
const QColor kDarkTopPressed(104, 144, 214), kDarkBottomPressed(52, 92, 168);
const QColor kWhite(255, 255, 255);
const QColor kPanelGrey(196, 197, 201);

// The window's pictures come in two drawings: one device pixel to the unit,
// and the sharper "@2x" one for high-density screens. The icon has its sizes:
// the window's three, 24 for Windows' lists, and the larger ones that
// desktops and software centres show.
const std::pair<QString, qreal> kScales[] = {{"", 1.0}, {"@2x", 2.0}};
const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
// The scalable icon follows the smooth layout; every larger size has the same
// proportions.
const int kScalableIconLayout = 64;

void addBluePair(std::vector<Output>& out, const QString& name, const QString& label, bool dark) {
    const QColor surround = dark ? kPanelGrey : kWhite;
    const FaceStyle up{
        label,  81,       33,   dark ? kDarkTop : kMidTop, dark ? kDarkBottom : kMidBottom,
        kWhite, surround, false};
    const FaceStyle down{label,
                         81,
                         33,
                         dark ? kDarkTopPressed : kMidTopPressed,
                         dark ? kDarkBottomPressed : kMidBottomPressed,
                         kWhite,
                         surround,
                         false};
    for (const auto& [suffix, scale] : kScales) {
        out.push_back({name + suffix + ".png", assetgen::drawButtonFace(up, scale)});
        out.push_back({name + "-pressed" + suffix + ".png", assetgen::drawButtonFace(down, scale)});
    }
}

std::vector<Output> drawAll() {
    std::vector<Output> out;
    for (const auto& [suffix, scale] : kScales)
        out.push_back({"background" + suffix + ".png", assetgen::drawBackground(scale)});
    for (int size : kIconSizes)
        out.push_back({QString("icon-%1.png").arg(size), assetgen::drawMonitorIcon(size)});
    addBluePair(out, "command1", QString::fromUtf8("清除数据"), false);
    addBluePair(out, "command4", QString::fromUtf8("导出表格"), false);
    addBluePair(out, "command6", QString::fromUtf8("最小化"), true);
    addBluePair(out, "command5", QString::fromUtf8("退 出"), true);
    const FaceStyle more{QString::fromUtf8("更多计算器"),
                         81,
                         25,
                         QColor(238, 239, 242),
                         QColor(200, 202, 207),
                         Qt::black,
                         QColor(153, 170, 202),
                         true};
    for (const auto& [suffix, scale] : kScales)
        out.push_back({"command2" + suffix + ".png", assetgen::drawButtonFace(more, scale)});
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: asset-gen OUTPUT_DIR\n");
        return 2;
    }
    // No display is needed to paint into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "asset-gen: cannot create %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    const auto complain = [&failures](const QString& path) {
        std::fprintf(stderr, "asset-gen: cannot write %s\n", qPrintable(path));
        ++failures;
    };
    for (const Output& o : drawAll()) {
        const QString path = dir.filePath(o.name);
        if (!o.image.save(path, "PNG")) complain(path);
    }
    const QString svgPath = dir.filePath("icon.svg");
    QFile svg(svgPath);
    const QByteArray drawing = assetgen::drawMonitorIconSvg(kScalableIconLayout);
    if (!svg.open(QIODevice::WriteOnly) || svg.write(drawing) != drawing.size() || !svg.flush())
        complain(svgPath);
    return failures == 0 ? 0 : 1;
}
