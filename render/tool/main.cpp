// reelmix-render: a show written as a playlist or edit list that other programs read.
#include "render/tool/ListExport.h"
#include "render/tool/RenderCommandLine.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    try {
        RenderCommandLine::Request request;
        std::string error;
        if (!RenderCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc), request,
                                      error)) {
            std::cerr << "reelmix-render: " << error << "\n" << RenderCommandLine::Usage();
            return 2;
        }
        switch (request.action) {
        case RenderCommandLine::Action::Help:
            std::cout << RenderCommandLine::Usage();
            return 0;
        case RenderCommandLine::Action::ExportList:
            return ListExport::Run(request.format, request.show, request.out, std::cerr);
        }
    } catch (const std::exception& failure) {
        std::cerr << "reelmix-render: " << failure.what() << "\n";
    }
    return 1;
}
