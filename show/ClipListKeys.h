#pragma once
// The keys users expect on the clip list: Delete removes the selected clip, Ctrl+Up and
// Ctrl+Down move it. Each key acts as a click on its button would, so not while that button is
// disabled (during a shuffle).
#include <QObject>

#include <functional>
#include <vector>

class CButton;
class CWnd;

class ClipListKeys : public QObject
{
public:
    struct Binding {
        int key;
        bool control;
        CButton* button;
        std::function<void()> command;
    };

    // Watches list's key presses.
    ClipListKeys(CWnd& list, std::vector<Binding> bindings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<Binding> m_bindings;
};
