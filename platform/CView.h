#pragma once
// What a document needs of the views that show it: the update notification.
#include "platform/WinTypes.h"

class CDocument;
class CObject;

class CView {
public:
    virtual ~CView() = default;

    CDocument* GetDocument() const { return m_document; }
    // Called by the document's UpdateAllViews; hint and hintObject are the document's to define.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) = 0;

private:
    friend class CDocument;
    CDocument* m_document = nullptr;
};
