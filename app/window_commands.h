// What a caption bar would otherwise do for the frameless window: drag,
// fixed size, minimise, exit; and the home-page button.
#pragma once

#include <QString>

class QWidget;
class QPoint;

namespace cubrix {

class Form1;

inline constexpr char kHomePage[] = "https://cubrix.example.org/";

void Form_MouseDown(Form1& form, const QPoint& globalPress);
void Form_Resize(QWidget& form);
void Command6_Click(QWidget& form);
void Command5_Click();
void Command2_Click(Form1& form);

}  // namespace cubrix
