#pragma once

#include <QByteArray>

#include <vector>

namespace tarnis {

// The delay in ms of every frame of a GIF, read from its graphic control extensions (0 for
// a frame that gives none). Empty when the data is not a GIF or breaks off before its
// first frame; a GIF that breaks off later keeps the frames before the break. Qt's reader
// reports a delay of 0 as 100 ms, so the delays are read here instead.
std::vector<int> gifFrameDelays(const QByteArray& data);

} // namespace tarnis
