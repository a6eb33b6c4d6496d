// The program's QApplication, made the one way the program, the start-up
// bench and the window tests all share, so the latter two measure and test
// what ships.
#pragma once

#include <QApplication>
#include <memory>

namespace cubrix {

// Makes the application with the X11 image setting, the program's name and
// version, the font substitutions for "宋体" and the toolkit's Chinese texts.
// argc must outlive the application, as QApplication requires.
std::unique_ptr<QApplication> makeApplication(int& argc, char** argv);

}  // namespace cubrix
