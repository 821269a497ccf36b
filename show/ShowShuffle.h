#pragma once
// One run of Shuffle Clips over a view's rows: 50 moves per row, each of a row drawn with rand()
// one place down, as selecting it and running Down would, taking messages between every 50
// moves. While rows and clips are in step the moves are made on a plain array of the clips; the
// document's nodes and the list take the rows they touched, with the selection, the focus and
// the scrolling they would have left, only before messages are taken: the list's own updates per
// move cost far more than the moves.
#include "platform/core/WinTypes.h"

#include <chrono>
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
    // Takes the show's order; again after a header sort, which reorders both between two moves.
    void TakeOrder();
    // What the list shows now; read again whenever messages were taken, which may have let the
    // user scroll or click.
    void ReadList();
    // What selecting a and running Down leaves.
    void MoveDown(int a);
    void ShowMoves();
    void TakeMessages(bool first);

    CReelmixView& m_view;
    CReelmixDoc& m_doc;
    ClipListCtrl& m_list;
    const int m_rows;
    std::vector<POSITION> m_nodes;
    std::vector<CObject*> m_clips;
    bool m_inStep = false;
    std::vector<int> m_moved; // rows whose clip went one down since the list last took them
    int m_focus = 0;
    int m_top = 0;
    int m_perPage = 1;
    int m_sorts = 0;
    std::chrono::steady_clock::time_point m_repainted;
};
