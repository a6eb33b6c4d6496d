// Texts drawn into a PDF with Noto CJK, which draws radicals and ideographs
// with the same glyphs, read back by pdftotext as they were typed.
#include "printout/pdf_text_maps.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstdint>

#include "printout/page_drawing.h"

namespace cubrix {
namespace {

struct Drawn {
    const char* name;
    const char16_t* text;
};

const Drawn kDrawn[] = {
    {"KangxiRadicals", u"木材销售清单 日期 2026年12月09日 金额(元)"},
    {"RadicalsSupplement", u"车号 长(米) 人民币 捌角 民"},
    // Ten radicals in a row make one linear range of the map.
    {"LinearRange", u"一丨丶丿乙亅二亠人儿入八冂冖冫几凵刀力勹"},
    {"NoRadicals", u"0.6610 765.82 单价(元/立方米)"},
    // Digits after a Latin letter, as in a plate number.
    {"PlateNumber", u"车号 闽H12345 闽AB8888"},
};

class PdfTextTest : public ::testing::TestWithParam<Drawn> {};

TEST_P(PdfTextTest, ReadsBackAsTyped) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "no pdftotext (poppler-utils)";
    QFont font = pageFont(10.5);
    font.setFamilies({QStringLiteral("Noto Sans CJK SC")});
    if (!QFontInfo(font).family().startsWith(QLatin1String("Noto Sans CJK")))
        GTEST_SKIP() << "no Noto Sans CJK (fonts-noto-cjk)";
    const QString text = QString::fromUtf16(GetParam().text);

    QBuffer drawn;
    drawn.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&drawn);
        QPainter painter(&pdf);
        painter.setFont(font);
        painter.drawText(QRectF(0, 0, pdf.width(), pdf.height()), Qt::AlignLeft | Qt::AlignTop,
                         text);
    }
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(withIdeographText(drawn.data()));
    file.close();

    QProcess reader;
    reader.start(pdftotext, {file.fileName(), QStringLiteral("-")});
    ASSERT_TRUE(reader.waitForFinished());
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed().toStdU16String(),
              text.toStdU16String());
}

INSTANTIATE_TEST_SUITE_P(Texts, PdfTextTest, ::testing::ValuesIn(kDrawn),
                         [](const ::testing::TestParamInfo<Drawn>& info) {
                             return std::string(info.param.name);
                         });

TEST(UnifiedIdeograph, FromUnicodesTable) {
    const std::pair<char32_t, char32_t> rows[] = {
        {0x2F4A, 0x6728},   // ⽊ 木, Kangxi radical
        {0x2ECB, 0x8F66},   // ⻋ 车, no NFKC form
        {0x2E8D, 0x5C0F},   // the end of a range of the table
        {0x2E87, 0x20628},  // beyond the first plane
        {0x31D0, 0x4E00},   // a stroke
        {0x2FD6, 0x2FD6},   // after the last radical
        {0x6728, 0x6728},   // an ideograph itself
        {U'A', U'A'},
    };
    for (const auto& [radical, ideograph] : rows)
        EXPECT_EQ(std::uint32_t{unifiedIdeograph(radical)}, std::uint32_t{ideograph})
            << std::hex << std::uint32_t{radical};
}

}  // namespace
}  // namespace cubrix
