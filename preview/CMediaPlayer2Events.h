#pragma once
// The events of the media player control, as its host takes them.
class CMediaPlayer2Events
{
public:
    virtual ~CMediaPlayer2Events() = default;
    // Positions in seconds from the first picture.
    virtual void OnPositionChange(double oldPosition, double newPosition) = 0;
    // States: 0 stopped, 1 paused, 2 playing.
    virtual void OnPlayStateChange(long oldState, long newState) = 0;
    virtual void OnWarning(long warningType, long param, const char* description) = 0;
    virtual void OnError() = 0;
};
