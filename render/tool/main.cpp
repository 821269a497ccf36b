// reelmix-render: makes one movie out of a show, without a display.
#include "render/tool/MovieCommand.h"

#include <QCoreApplication>
#include <clocale>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("reelmix-render");
    std::setlocale(LC_NUMERIC, "C");
    return MovieCommand::Run(app.arguments().mid(1));
}
