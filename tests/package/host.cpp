// A minimal host application of the installed library: translates the MIDAS text model named on the
// command line and prints how many nodes and lines reached the host model.
// Exit status: 0 translated, 1 translation refused, 2 usage error or unreadable file.
#include <MIDAStranslatetoOrvo.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: midas2orvo_host FILE.mgt\n");
        return 2;
    }
    SetMessageBoxHandler([](const char* text, void*) { std::fprintf(stderr, "midas2orvo: %s\n", text); }, nullptr);
    ModalData_Orvo model;
    MIDAStranslatetoOrvo translator;
    if (!translator.ReadMidasFile(argv[1])) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    if (!translator.TranMidastoOrvo(model)) {
        std::fprintf(stderr, "translation of %s refused\n", argv[1]);
        return 1;
    }
    std::printf("nodes %d\nlines %d\n", model.m_Nodes.GetSize(), model.m_Lines.GetSize());
    return 0;
}
