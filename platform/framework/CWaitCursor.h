#pragma once
// Shows the application's wait cursor for the life of the object. Without an application
// object there is no cursor to change and nothing happens.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the wait cursor again, after something (a message box) has changed the cursor.
    void Restore();
};
