// The page drawn by the program: for bills of every kind on every paper,
// each text stays inside its box and each box and line inside the page.
#include "printout/page_drawing.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <functional>
#include <memory>

#include "bill/recalculation.h"
#include "bill/zero_blanking.h"
#include "printout/paper.h"
#include "tests/printout/worked_example.h"

namespace cubrix {
namespace {

constexpr CalendarDay kDay{2026, 12, 8};
constexpr double kTolerance = 0.5;  // device pixels

struct Bill {
    const char* name;
    std::function<void(BillSheet&)> key;
    bool cutTexts;  // some texts are too long for their boxes
};

void keyFullLines(BillSheet& sheet) {
    connectZeroBlanking(sheet);
    for (int i = 0; i < kLineRows; ++i) {
        sheet.set(Field::Text1, i, u"12.75");
        sheet.set(Field::Text2, i, u"300");
        sheet.set(Field::Text3, i, u"200");
        sheet.set(Field::Text4, i, u"1200");
        sheet.set(Field::Text6, i, u"98765.43");
    }
    for (Field f : {Field::Text10, Field::Text11, Field::Text12, Field::Text13, Field::Text14})
        sheet.set(f, 0, u"中国福建省南平市建阳区");
    Timer1_Timer(sheet);
}

void keyLongParties(BillSheet& sheet) {
    testing::keyWorkedExample(sheet);
    const std::u16string longText(5000, u'木');
    for (Field f : {Field::Text10, Field::Text11, Field::Text12, Field::Text13, Field::Text14,
                    Field::Combo1, Field::Combo2, Field::Combo3, Field::Combo4})
        sheet.set(f, 0, longText);
    sheet.set(Field::Text1, 5, std::u16string(5000, u'9'));
}

// Typed straight into computed fields: a negative total, blanked zeros.
void keyNegativeAndBlanked(BillSheet& sheet) {
    sheet.set(Field::Text1, 0, u"-4.2");
    sheet.set(Field::Text5, 0, u"-0.0158");
    sheet.set(Field::Text7, 0, u"-15.80");
    sheet.set(Field::Text8, 0, u"");
    sheet.set(Field::Text9, 0, u"-24645.4100");
}

void keyChineseAndFormulas(BillSheet& sheet) {
    sheet.set(Field::Text1, 0, u"=1+1");
    sheet.set(Field::Text2, 0, u"一百五");
    sheet.set(Field::Text6, 0, u"@SUM(A1)");
    sheet.set(Field::Text9, 0, u"七百元");
    sheet.set(Field::Text10, 0, u"=HYPERLINK(\"x\")\t换行\n后");
    sheet.set(Field::Combo2, 0, u"联系人");
}

const Bill kBills[] = {
    {"Empty", [](BillSheet&) {}, false},
    {"WorkedExample", testing::keyWorkedExample, false},
    {"FullEightLines", keyFullLines, false},
    {"LongPartyTexts", keyLongParties, true},
    {"NegativeAndBlanked", keyNegativeAndBlanked, false},
    {"ChineseAndFormulaLike", keyChineseAndFormulas, false},
};

enum class Device { Pdf, Picture };

struct Case {
    const Bill* bill;
    Paper paper;
    Device device;
};

std::vector<Case> allCases() {
    std::vector<Case> cases;
    for (const Bill& bill : kBills)
        for (Paper paper : kPapers)
            for (Device device : {Device::Pdf, Device::Picture})
                cases.push_back({&bill, paper, device});
    return cases;
}

class PageDrawingTest : public ::testing::TestWithParam<Case> {};

bool inside(const QRectF& outer, const QRectF& inner) {
    return inner.left() >= outer.left() - kTolerance && inner.top() >= outer.top() - kTolerance &&
           inner.right() <= outer.right() + kTolerance &&
           inner.bottom() <= outer.bottom() + kTolerance;
}

TEST_P(PageDrawingTest, EveryTextInItsBoxAndEveryBoxOnThePage) {
    const Case& c = GetParam();
    BillSheet sheet;
    c.bill->key(sheet);
    const PageTexts texts = pageTexts(sheet, kDay);
    const QPageLayout layout = pageLayoutFor(c.paper);

    QBuffer pdfBytes;
    pdfBytes.open(QIODevice::WriteOnly);
    std::unique_ptr<QPdfWriter> pdf;
    QImage image;
    QPaintDevice* device = nullptr;
    QRectF area;
    if (c.device == Device::Pdf) {
        pdf = std::make_unique<QPdfWriter>(&pdfBytes);
        pdf->setPageLayout(layout);
        device = pdf.get();
        area = QRectF(0, 0, pdf->width(), pdf->height());
    } else {
        const int dpi = 200;
        image = QImage(layout.fullRectPixels(dpi).size(), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        device = &image;
        area = layout.paintRectPixels(dpi);
    }
    ASSERT_GT(area.width(), 0);
    const PageDrawing drawing = layOutPage(texts, area, *device);
    QPainter painter(device);
    drawPage(painter, drawing);

    bool anyCut = false;
    for (std::size_t i = 0; i < drawing.texts.size(); ++i) {
        const TextBox& box = drawing.texts[i];
        SCOPED_TRACE(box.whole.left(40).toStdString());
        EXPECT_TRUE(inside(area, box.rect)) << "box off the page";
        painter.setFont(box.font);
        const QRectF needed = painter.boundingRect(
            box.rect, static_cast<int>(box.alignment) | Qt::TextSingleLine, box.text);
        EXPECT_TRUE(inside(box.rect, needed) || box.text.isEmpty()) << "text out of its box";
        for (std::size_t j = i + 1; j < drawing.texts.size(); ++j) {
            const QRectF overlap = box.rect.intersected(drawing.texts[j].rect);
            EXPECT_TRUE(overlap.width() <= kTolerance || overlap.height() <= kTolerance)
                << "overlaps " << drawing.texts[j].whole.left(40).toStdString();
        }
        if (box.text != box.whole) {
            anyCut = true;
            EXPECT_TRUE(box.text.endsWith(QChar(0x2026))) << "cut without a mark";
        }
    }
    EXPECT_EQ(anyCut, c.bill->cutTexts);
    for (const QLineF& line : drawing.lines) {
        EXPECT_TRUE(inside(area, QRectF(line.p1(), line.p2()).normalized())) << "line off the page";
    }
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string paper = paperKey(info.param.paper);
    std::replace(paper.begin(), paper.end(), '-', '_');
    return std::string(info.param.bill->name) + "_" + paper +
           (info.param.device == Device::Pdf ? "_Pdf" : "_Picture");
}

INSTANTIATE_TEST_SUITE_P(BillsByPaper, PageDrawingTest, ::testing::ValuesIn(allCases()), caseName);

// The forms exact in points (72 to the inch), so that a driver that sets the
// form length from the page keeps the perforation where it is; the key is
// what the settings and the probe take.
struct PaperCase {
    Paper paper;
    const char* key;
    QSize points;
    QPageLayout::Orientation orientation;
};

TEST(Papers, ExactSizesAndKeys) {
    const PaperCase cases[] = {
        {Paper::A4Portrait, "a4", {595, 842}, QPageLayout::Portrait},
        {Paper::A5Landscape, "a5", {420, 595}, QPageLayout::Landscape},
        {Paper::Form241_1, "241-1", {684, 792}, QPageLayout::Portrait},
        {Paper::Form241_2, "241-2", {684, 396}, QPageLayout::Portrait},
        {Paper::Form241_3, "241-3", {684, 264}, QPageLayout::Portrait},
    };
    for (const PaperCase& c : cases) {
        SCOPED_TRACE(c.key);
        const QPageLayout layout = pageLayoutFor(c.paper);
        EXPECT_EQ(layout.pageSize().sizePoints(), c.points);
        EXPECT_EQ(layout.orientation(), c.orientation);
        EXPECT_EQ(paperNamed(c.key), c.paper);
        EXPECT_EQ(paperOf(layout), c.paper);
    }
    EXPECT_EQ(paperNamed("form"), std::nullopt);
    EXPECT_EQ(paperNamed(""), std::nullopt);
    EXPECT_EQ(paperOf(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, {})),
              std::nullopt);
}

// What the page says, as the workbook's page says it.
struct TextsCase {
    const char* name;
    std::function<void(BillSheet&)> key;
    std::function<std::u16string(const PageTexts&)> read;
    std::u16string expected;
};

class PageTextsTest : public ::testing::TestWithParam<TextsCase> {};

TEST_P(PageTextsTest, ReadsAsTheWorkbookShowsIt) {
    BillSheet sheet;
    GetParam().key(sheet);
    EXPECT_EQ(GetParam().read(pageTexts(sheet, kDay)), GetParam().expected);
}

const TextsCase kTextsCases[] = {
    {"Date", [](BillSheet&) {}, [](const PageTexts& p) { return p.date; }, u"2026年12月08日"},
    {"TotalToTheFen", testing::keyWorkedExample,
     [](const PageTexts& p) { return p.totalAmount.text; }, u"765.82"},
    {"Capitals", testing::keyWorkedExample, [](const PageTexts& p) { return p.capitals; },
     u"人民币柒佰陆拾伍元捌角贰分"},
    {"TotalVolumeAsShown", testing::keyWorkedExample,
     [](const PageTexts& p) { return p.totalVolume.text; }, u"0.6610"},
    {"LineAmountAsShown", testing::keyWorkedExample,
     [](const PageTexts& p) { return p.lines[2][6].text; }, u"0.02"},
    {"PriceLeftEmpty", testing::keyWorkedExample,
     [](const PageTexts& p) { return p.lines[3][6].text; }, u""},
    {"BuyerCaption", [](BillSheet&) {}, [](const PageTexts& p) { return p.upperLeft.caption; },
     u"购货单位"},
    {"LowerLeftCaptionShown", [](BillSheet& s) { s.set(Field::Combo4, 0, u"收货单位"); },
     [](const PageTexts& p) { return p.lowerLeft.caption; }, u"收货单位"},
    {"TextTotalKeptWithoutCapitals", [](BillSheet& s) { s.set(Field::Text9, 0, u"七百元"); },
     [](const PageTexts& p) { return p.totalAmount.text + u"|" + p.capitals; }, u"七百元|"},
    {"EmptyTotalNoCapitals", [](BillSheet&) {},
     [](const PageTexts& p) { return p.totalAmount.text + u"|" + p.capitals; }, u"|"},
    {"NegativeTotal", [](BillSheet& s) { s.set(Field::Text9, 0, u"-24645.4100"); },
     [](const PageTexts& p) { return p.totalAmount.text + u"|" + p.capitals; },
     u"-24645.41|人民币负贰万肆仟陆佰肆拾伍元肆角壹分"},
    {"FormulaStaysText", [](BillSheet& s) { s.set(Field::Text1, 0, u"=1+1"); },
     [](const PageTexts& p) { return p.lines[0][0].figure ? u"figure" : p.lines[0][0].text; },
     u"=1+1"},
};

INSTANTIATE_TEST_SUITE_P(Texts, PageTextsTest, ::testing::ValuesIn(kTextsCases),
                         [](const ::testing::TestParamInfo<TextsCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace cubrix
