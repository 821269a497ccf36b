#pragma once
// One run of Shuffle Clips over a view's rows: 50 moves per row, each of a row drawn with rand()
// one place down, as selecting it and running Down would, with messages taken between moves.
// While rows and clips are in step the moves are made on a plain array of the clips; the
// document's nodes and the list take the rows that changed, with the selection, the focus and
// the scrolling the moves would have left, only before messages are taken: the list's own
// updates per move cost far more than the moves.
#include "platform/core/WinTypes.h"

#include <chrono>
#include <cstdint>
#include <vector>

class CObject;
class CReelmixDoc;
class CReelmixView;
class ClipListCtrl;

class ShowShuffle
{
public:
    ShowShuffle(CReelmixView& view, int rows);

    // Makes the moves until they are done, the shuffle is cleared or the show's rows are.
    void Run();

private:
    using Clock = std::chrono::steady_clock;

    // Takes the show's order; again after a header sort, which reorders both between two moves.
    void TakeOrder();
    // What the list shows now; read again whenever messages were taken, which may have let the
    // user scroll or click.
    void ReadList();
    // What selecting a and running Down leaves.
    void MoveDown(int a);
    void Changed(int row);
    void ShowMoves();
    // Whether messages are to be taken at this 50-move mark.
    bool MessagesDue(bool first) const;
    void TakeMessages(bool first);

    CReelmixView& m_view;
    CReelmixDoc& m_doc;
    ClipListCtrl& m_list;
    const int m_rows;
    std::vector<POSITION> m_nodes;
    std::vector<CObject*> m_clips;
    bool m_inStep = false;
    std::vector<std::uint64_t> m_changed; // a bit per row whose clip the list has yet to take
    int m_lastMoved = -1;                 // the row last moved down since the list took them
    int m_focus = 0;
    int m_top = 0;
    int m_perPage = 1;
    int m_sorts = 0;
    int m_clears = 0;
    Clock::time_point m_messagesTaken;
    Clock::duration m_writing{}; // what writing the changed rows back took last time
    Clock::time_point m_repainted;
};
