#include "printout/page_drawing.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>

namespace cubrix {
namespace {

// The workbook's page in millimetres: its column widths and row heights
// (rows 1 to 17: title, date, upper party, heads, eight lines, totals,
// lower party, capitals, space, sign-off).
constexpr std::array<double, 7> kColumnMm = {24, 24, 24, 19, 27, 32, 27};
constexpr std::array<double, 17> kRowMm = {12,  7.5, 11,  7.5, 7.5, 7.5, 7.5, 7.5, 7.5,
                                           7.5, 7.5, 7.5, 7.5, 7.5, 9.5, 7.5, 7.5};
constexpr double kUpperLineMm = 6.8;  // the writing line of row 3, down from its top
constexpr double kPaddingMm = 1;
constexpr double kLineWidthMm = 0.26;
constexpr double kTextPoints = 10.5;
constexpr double kTitlePoints = 16;
constexpr double kSmallestPoints = 4;
constexpr double kMmPerInch = 25.4;
constexpr int kHeadRow = 4;
constexpr int kFirstLineRow = 5;
constexpr int kTotalsRow = 13;

double sum(const auto& values, std::size_t count) {
    double s = 0;
    for (std::size_t i = 0; i < count; ++i) s += values[i];
    return s;
}

// One line of text: breaks and tabs of a pasted text become blanks.
QString singleLine(std::u16string_view text) {
    QString line = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return line;
}

class Grid {
public:
    Grid(const QRectF& area, const QPaintDevice& device) : device_(device) {
        pxPerMm_ = device.logicalDpiX() / kMmPerInch;
        pyPerMm_ = device.logicalDpiY() / kMmPerInch;
        const double naturalWidth = sum(kColumnMm, kColumnMm.size()) * pxPerMm_;
        const double naturalHeight = sum(kRowMm, kRowMm.size()) * pyPerMm_;
        sx_ = std::min(1.0, area.width() / naturalWidth);
        sy_ = std::min(1.0, area.height() / naturalHeight);
        left_ = area.left() + (area.width() - naturalWidth * sx_) / 2;
        top_ = area.top();
    }

    double x(int edge) const { return left_ + sum(kColumnMm, edge) * pxPerMm_ * sx_; }
    double y(int edge) const { return top_ + sum(kRowMm, edge) * pyPerMm_ * sy_; }
    double mmDown(double mm) const { return mm * pyPerMm_ * sy_; }
    double mmAcross(double mm) const { return mm * pxPerMm_ * sx_; }
    // Across, a text must keep to its narrower column; down, the row's own
    // height decides (see Boxes::add), so a low form keeps its text large.
    double fontScale() const { return sx_; }

    // Rows and columns counted from 1 as in the workbook, both ends included.
    QRectF cell(int row, int firstColumn, int lastColumn) const {
        return QRectF(QPointF(x(firstColumn - 1), y(row - 1)), QPointF(x(lastColumn), y(row)));
    }
    QRectF cell(int row, int column) const { return cell(row, column, column); }

    const QPaintDevice& device() const { return device_; }

private:
    const QPaintDevice& device_;
    double pxPerMm_ = 1;
    double pyPerMm_ = 1;
    double sx_ = 1;
    double sy_ = 1;
    double left_ = 0;
    double top_ = 0;
};

class Boxes {
public:
    explicit Boxes(const Grid& grid) : grid_(grid) {}

    void add(const QRectF& cell, std::u16string_view text, Qt::Alignment horizontal,
             double points = kTextPoints, bool bold = false) {
        const double padX = grid_.mmAcross(kPaddingMm);
        const QRectF rect = cell.adjusted(padX, 0, -padX, 0);
        QFont font = pageFont(points * grid_.fontScale(), bold);
        // A row pressed lower than the font: a smaller font, never a cut one.
        while (QFontMetricsF(font, &grid_.device()).height() > rect.height() &&
               font.pointSizeF() > kSmallestPoints)
            font.setPointSizeF(font.pointSizeF() * 0.95);
        const QString whole = singleLine(text);
        const QString shown =
            QFontMetricsF(font, &grid_.device()).elidedText(whole, Qt::ElideRight, rect.width());
        texts.push_back({rect, shown, whole, font, horizontal | Qt::AlignVCenter});
    }

    void add(const QRectF& cell, const PageCell& text) {
        add(cell, text.text, text.figure ? Qt::AlignRight : Qt::AlignLeft);
    }

    std::vector<TextBox> texts;

private:
    const Grid& grid_;
};

// Row 3 stands on the table: its texts sit above the writing line.
QRectF upperBand(const Grid& grid, QRectF cell) {
    cell.setHeight(grid.mmDown(kUpperLineMm));
    return cell;
}

std::vector<QLineF> tableAndWritingLines(const Grid& g) {
    std::vector<QLineF> lines;
    auto across = [&](double y, int fromEdge, int toEdge) {
        lines.emplace_back(g.x(fromEdge), y, g.x(toEdge), y);
    };
    // The framed table, rows 4 to 13; the measurer's name and the total
    // amount span two columns in row 13.
    for (int row = kHeadRow - 1; row <= kTotalsRow; ++row) across(g.y(row), 0, 7);
    for (int edge = 0; edge <= 7; ++edge) {
        const bool spanned = edge == 2 || edge == 6;
        lines.emplace_back(g.x(edge), g.y(kHeadRow - 1), g.x(edge),
                           g.y(spanned ? kTotalsRow - 1 : kTotalsRow));
    }
    across(g.y(2) + g.mmDown(kUpperLineMm), 1, 4);  // upper party values
    across(g.y(2) + g.mmDown(kUpperLineMm), 5, 7);
    across(g.y(14), 1, 4);  // lower party values
    across(g.y(14), 5, 7);
    across(g.y(15), 1, 7);  // the capitals
    across(g.y(17), 1, 3);  // 经手人
    across(g.y(17), 5, 7);  // 收货人
    return lines;
}

}  // namespace

QFont pageFont(double points, bool bold) {
    QFont font;
    // TrueType faces first: the PDF writer embeds them as searchable text.
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")});
    // Shaped, some faces (Noto CJK) give the digits after a Latin letter
    // glyphs of their own that map to no text: 闽H12345 would read back as
    // 闽H from the PDF. The page needs no shaping.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

PageDrawing layOutPage(const PageTexts& page, const QRectF& area, const QPaintDevice& device) {
    const Grid g(area, device);
    Boxes b(g);
    b.add(g.cell(1, 1, 7), kPageTitle, Qt::AlignHCenter, kTitlePoints, true);
    b.add(g.cell(2, 5), kDateCaption, Qt::AlignRight);
    b.add(g.cell(2, 6, 7), page.date, Qt::AlignLeft);

    b.add(upperBand(g, g.cell(3, 1)), page.upperLeft.caption, Qt::AlignLeft);
    b.add(upperBand(g, g.cell(3, 2, 4)), page.upperLeft.value, Qt::AlignLeft);
    b.add(upperBand(g, g.cell(3, 5)), page.upperRight.caption, Qt::AlignLeft);
    b.add(upperBand(g, g.cell(3, 6, 7)), page.upperRight.value, Qt::AlignLeft);

    for (int c = 0; c < kLineColumns; ++c)
        b.add(g.cell(kHeadRow, c + 1), kColumnHeads[c], Qt::AlignHCenter, kTextPoints, true);
    for (int r = 0; r < kLineRows; ++r)
        for (int c = 0; c < kLineColumns; ++c)
            b.add(g.cell(kFirstLineRow + r, c + 1), page.lines[r][c]);

    b.add(g.cell(kTotalsRow, 1), kMeasurerCaption, Qt::AlignHCenter, kTextPoints, true);
    b.add(g.cell(kTotalsRow, 2, 3), page.measurer, Qt::AlignLeft);
    b.add(g.cell(kTotalsRow, 4), kTotalCaption, Qt::AlignHCenter, kTextPoints, true);
    b.add(g.cell(kTotalsRow, 5), page.totalVolume);
    b.add(g.cell(kTotalsRow, 6, 7), page.totalAmount);

    b.add(g.cell(14, 1), page.lowerLeft.caption, Qt::AlignLeft);
    b.add(g.cell(14, 2, 4), page.lowerLeft.value, Qt::AlignLeft);
    b.add(g.cell(14, 5), page.lowerRight.caption, Qt::AlignLeft);
    b.add(g.cell(14, 6, 7), page.lowerRight.value, Qt::AlignLeft);

    b.add(g.cell(15, 1), kCapitalsCaption, Qt::AlignLeft);
    b.add(g.cell(15, 2, 7), page.capitals, Qt::AlignLeft);

    b.add(g.cell(17, 1), kHandlerCaption, Qt::AlignLeft);
    b.add(g.cell(17, 5), kReceiverCaption, Qt::AlignLeft);

    return {area, std::move(b.texts), tableAndWritingLines(g)};
}

void drawPage(QPainter& painter, const PageDrawing& drawing) {
    const double pxPerMm = painter.device()->logicalDpiX() / kMmPerInch;
    painter.save();
    painter.setPen(QPen(Qt::black, kLineWidthMm * pxPerMm));
    for (const QLineF& line : drawing.lines) painter.drawLine(line);
    for (const TextBox& box : drawing.texts) {
        if (box.text.isEmpty()) continue;
        painter.setFont(box.font);
        painter.drawText(box.rect, static_cast<int>(box.alignment) | Qt::TextSingleLine, box.text);
    }
    painter.restore();
}

bool paintPage(QPagedPaintDevice& device, const PageTexts& page, PageOffset offset) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRectF area = QRectF(0, 0, device.width(), device.height())
                            .translated(offset.rightMm * device.logicalDpiX() / kMmPerInch,
                                        offset.downMm * device.logicalDpiY() / kMmPerInch);
    drawPage(painter, layOutPage(page, area, device));
    return painter.end();
}

}  // namespace cubrix
