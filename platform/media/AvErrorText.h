#pragma once
#include <QString>

// FFmpeg's words for one of its error codes.
QString AvErrorText(int code);
