#pragma once
// The lock keys' lights as the system shows them (/sys/class/leds); off where it has none. The
// status bar asks at every idle moment, which a running shuffle brings about tens of thousands
// of times a second: the folder is listed again only after a second has passed, and only the
// lights' own files are read each time.
class LockKeyLights
{
public:
    // led: "capslock", "numlock" or "scrolllock".
    static bool IsOn(const char* led);
};
