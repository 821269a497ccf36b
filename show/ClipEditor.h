#pragma once
// What the show asks of the application object to edit a clip: the clip editor stands beside
// the show, not on it, and the application brings the two together.
class CWnd;
class Clip;

class ClipEditor
{
public:
    virtual ~ClipEditor() = default;
    // Lets the user mark where clip starts and ends; true when the new marks were taken.
    virtual bool EditClip(Clip& clip, CWnd* parent) = 0;
};
