#pragma once
// A show's document and its view in a shown window, set up as the framework sets up a new show.
// The program object must exist before them: the caller hands it over to say it does.
#include "platform/framework/CWinApp.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"

#include <QApplication>
#include <QWidget>

struct ShownView {
    ShownView(const CWinApp& /*app*/, int width, int height)
    {
        frame.resize(width, height);
        view.Create(&frame);
        doc.AddView(&view);
        view.OnInitialUpdate();
        frame.show();
        QApplication::processEvents();
    }
    ~ShownView() { doc.RemoveView(&view); }
    ShownView(const ShownView&) = delete;
    ShownView& operator=(const ShownView&) = delete;

    CReelmixDoc doc;
    QWidget frame;
    CReelmixView view;
};
