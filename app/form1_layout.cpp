#include "app/form1_layout.h"

namespace cubrix {
namespace {

constexpr int kGridTop = 2385;
constexpr int kRowPitch = 360;
constexpr int kGridBoxHeight = 375;
constexpr std::array<int, kLineColumns> kColumnLeft = {1080, 1800, 2520, 3240, 3960, 4920, 5640};
constexpr std::array<int, kLineColumns> kColumnWidth = {855, 855, 855, 855, 975, 855, 975};

QString indexed(const char* base, int i) {
    return QStringLiteral("%1(%2)").arg(base).arg(i);
}

ControlSpec textBox(FieldRef f, TwipRect r) {
    return {ControlKind::TextBox, QString::fromStdString(fieldName(f)), r, f, {}, {}};
}
ControlSpec comboBox(Field f, TwipRect r, QStringList items) {
    return {ControlKind::ComboBox, QString::fromStdString(fieldName({f})), r, {f}, {}, items};
}
ControlSpec label(QString name, TwipRect r, QString caption) {
    return {ControlKind::Label, std::move(name), r, {}, std::move(caption), {}};
}
ControlSpec button(const char* name, TwipRect r) {
    return {ControlKind::Button, name, r, {}, {}, {}};
}

const QStringList kVehicleItems = {"车号", "联系人", "电话", "银行账号", "厂址"};

std::vector<ControlSpec> buildControls() {
    std::vector<ControlSpec> c;
    // Labels lie on the window's surface, beneath every box and button.
    c.push_back(label("Label3", {3240, 5505, 495, 375}, "合计"));
    c.push_back(label(indexed("Label1", 0), {4320, 2025, 495, 255}, "材积"));
    c.push_back(label(indexed("Label1", 1), {5880, 2025, 495, 255}, "金额"));
    c.push_back(label(indexed("Label1", 2), {5160, 2025, 495, 255}, "单价"));
    c.push_back(label("Label5", {6975, 2040, 1695, 255}, "单位：立方米、元"));
    c.push_back(label("Label6", {1320, 2025, 2775, 255}, "（长、    宽、   厚、   件）"));
    c.push_back(label("Label10", {1185, 5445, 615, 375}, "检尺员"));
    // The grid: later rows above earlier ones, later columns above earlier ones.
    for (int row = 0; row < kLineRows; ++row)
        for (int col = 0; col < kLineColumns; ++col)
            c.push_back(textBox({static_cast<Field>(col), row}, gridCell(col, row)));
    c.push_back(textBox({Field::Text8}, {3960, 5385, 975, 355}));
    c.push_back(textBox({Field::Text9}, {5640, 5385, 975, 355}));
    c.push_back(button("Command1", {7200, 2640, 1200, 500}));
    c.push_back(button("Command2", {7200, 5640, 1200, 405}));
    c.push_back(button("Command4", {7200, 3300, 1200, 500}));
    c.push_back(textBox({Field::Text10}, {1800, 1305, 3540, 325}));
    c.push_back(textBox({Field::Text11}, {6600, 1305, 2190, 325}));
    c.push_back(textBox({Field::Text12}, {6600, 6225, 2190, 325}));
    c.push_back(textBox({Field::Text13}, {1800, 6225, 3540, 325}));
    c.push_back(textBox({Field::Text14}, {825, 5685, 1215, 315}));
    c.push_back(comboBox(Field::Combo1, {5475, 6285, 1000, 300}, kVehicleItems));
    c.push_back(comboBox(Field::Combo2, {5475, 1305, 1000, 300}, kVehicleItems));
    c.push_back(comboBox(Field::Combo3, {600, 1305, 1140, 300}, {"购货单位", "公司名称"}));
    c.push_back(comboBox(Field::Combo4, {600, 6225, 1140, 300},
                         {"出货单位", "银行账号", "联系人", "联系电话"}));
    c.push_back(button("Command5", {7200, 4620, 1200, 500}));
    c.push_back(button("Command6", {7200, 3960, 1200, 500}));
    return c;
}

std::vector<QString> buildTabCycle() {
    std::vector<QString> t;
    const Field inputs[] = {Field::Text1, Field::Text2, Field::Text3, Field::Text4, Field::Text6};
    for (int row = 0; row < kLineRows; ++row)
        for (Field f : inputs) t.push_back(QString::fromStdString(fieldName({f, row})));
    for (int row = 0; row < kLineRows; ++row) {
        t.push_back(indexed("Text5", row));
        t.push_back(indexed("Text7", row));
    }
    for (const char* name :
         {"Text8", "Text9", "Command1", "Command2", "Command4", "Text10", "Text11", "Text12",
          "Text13", "Text14", "Combo1", "Combo2", "Combo3", "Combo4", "Command5", "Command6"})
        t.push_back(name);
    return t;
}

}  // namespace

QRect toPixels(const TwipRect& r) {
    return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
            twipsToPixels(r.height)};
}

TwipRect gridCell(int column, int row) {
    return {kColumnLeft[column], kGridTop + kRowPitch * row, kColumnWidth[column], kGridBoxHeight};
}

const std::vector<ControlSpec>& controlsBottomUp() {
    static const std::vector<ControlSpec> controls = buildControls();
    return controls;
}

const std::vector<QString>& tabCycle() {
    static const std::vector<QString> cycle = buildTabCycle();
    return cycle;
}

const std::array<ButtonLook, 5>& buttonLooks() {
    static const std::array<ButtonLook, 5> looks = {{
        {"Command1", ":/assets/command1.png", ":/assets/command1-pressed.png", Qt::white},
        {"Command4", ":/assets/command4.png", ":/assets/command4-pressed.png", Qt::white},
        {"Command6", ":/assets/command6.png", ":/assets/command6-pressed.png", QColor()},
        {"Command5", ":/assets/command5.png", ":/assets/command5-pressed.png", QColor()},
        {"Command2", ":/assets/command2.png", QString(), QColor(153, 170, 202)},
    }};
    return looks;
}

}  // namespace cubrix
