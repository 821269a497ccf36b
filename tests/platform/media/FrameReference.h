#pragma once
// FFmpeg's own sequential decode of a movie as the frame server should give it, and the walks
// the editor takes (forward, jumps, steps back, a jump right after opening), each picture
// compared with it.
#include <QImage>
#include <QString>

namespace framereference
{
// Checks every path to the movie's pictures against FFmpeg's decode of it (kept in the build
// tree); jumps random jumps with a small cache.
void CheckWalks(const QString& movie, int jumps);
// The mean difference of two pictures of one size, per colour channel.
double Difference(const QImage& a, const QImage& b);
// Frames times pixels of the movie's video, as ffprobe reports it: the work of decoding it all.
double DecodingWork(const QString& movie);
} // namespace framereference
