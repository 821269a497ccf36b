#include "app/BackgroundWork.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <exception>
#include <thread>

bool BackgroundWork::Run(QWidget* parent, const std::string& text,
                         const std::function<void()>& work, std::string& error)
{
    QEventLoop loop;
    QProgressDialog progress(QString::fromStdString(text), QString(), 0, 0, parent);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(400);
    // Written by the worker before it posts the loop's end, read here after join().
    std::string failure;
    std::thread worker([&] {
        try {
            work();
        } catch (const std::exception& thrown) {
            failure = thrown.what();
        } catch (...) {
            failure = "The work ended with an unknown failure.";
        }
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure.empty())
        return true;
    error = failure;
    return false;
}
