// Opening an address in the default web browser, without waiting for it.
#pragma once

#include <QUrl>
#include <functional>

namespace cubrix {

// Returns whether the platform accepted the address. Tests put in their own.
using UrlLauncher = std::function<bool(const QUrl&)>;

UrlLauncher systemUrlLauncher();

}  // namespace cubrix
