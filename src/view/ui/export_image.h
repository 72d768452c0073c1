#pragma once

#include <QStringList>

namespace beatloom {

// beatloom --export-image CHART OUT.png [--size WxH] [--scroll V] [--hscroll S]
//          [--mode 1|2|3] [--grid N] [--flat]
// Renders CHART's score as the score view shows it at that size and those
// scroll positions and writes it as PNG, without a window. arguments are all
// arguments after the program name, starting with "--export-image". Returns
// the exit status: 0 written, 1 the chart or the output failed, 2 bad options
// (a message on stderr in every failing case). Creates its own application
// object (offscreen) when none exists yet.
int RunExportImage(const QStringList& arguments);

}  // namespace beatloom
