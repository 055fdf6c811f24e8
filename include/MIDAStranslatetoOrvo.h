// MIDAS text model importer: the one header a host application includes.
//
// A host translates a MIDAS plain-text model (.mgt) into its own model like this:
//
//     #include <MIDAStranslatetoOrvo.h>
//
//     ModalData_Orvo model;
//     MIDAStranslatetoOrvo translator;
//     if (!translator.ReadMidasFile("frame.mgt"))
//         return;                               // the file could not be opened
//     if (translator.TranMidastoOrvo(model)) {
//         // model.m_Nodes, m_Lines, m_Materials, m_LSections, m_ASections,
//         // m_PointLoads and m_LineLoads now hold the model in kN and mm.
//     }
//
// The translator owns everything it builds on the way and frees it when destroyed; the host owns every
// record appended to its model.
#pragma once

#include "midas2orvo/Diagnostics.h"
#include "midas2orvo/Export.h"
#include "midas2orvo/OrvoModel.h"

// Replaces the handler that shows the unit refusal message, UTF-8 text (by default: on Windows a modal
// message box with an OK button, elsewhere the text and a newline on standard error). A null handler
// restores the default. Returns the previous handler. The handler is process-wide: translations on two
// threads may call it at the same time.
using MessageBoxHandler = void (*)(const char* text, void* context);
MIDAS2ORVO_API MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, void* context);

// One translator serves one thread at a time. Translators on different threads, each filling its own
// ModalData_Orvo, do not interfere; only Material_Orvo IDs, counts of the materials alive in the whole
// process, depend on what the other threads hold.
//
// The class holds one pointer to its implementation, so its size and layout stay the same whatever the
// library keeps inside.
class MIDAS2ORVO_API MIDAStranslatetoOrvo {
public:
    MIDAStranslatetoOrvo();
    virtual ~MIDAStranslatetoOrvo();
    MIDAStranslatetoOrvo(const MIDAStranslatetoOrvo&) = delete;
    MIDAStranslatetoOrvo& operator=(const MIDAStranslatetoOrvo&) = delete;

    // Reads the MIDAS text file at path (UTF-8; on Windows a path in the ANSI code page is taken too)
    // into block readers (and, for load sections, working loads). False only when the file cannot be
    // opened or read, or is not a regular file (a directory, FIFO or device is refused at once, never
    // waited on); nothing then changes. A line longer than 1 MiB keeps its first MiB where whole lines
    // are read (current profile).
    bool ReadMidasFile(const char* path);

    // True once ReadMidasFile has succeeded.
    bool HaveReadFile() const;

    // Chooses the reading profile; call before ReadMidasFile. Classic by default.
    //
    // What a file can cost. In the current profile an ID list item ("12", "1to2147483647", "1to99by2")
    // reaches only the nodes or elements that exist: a range is walked over the existing numbers inside it,
    // never over its numeric span, and a number that names nothing makes nothing (counted in a few
    // findings per block). So the records made are at most the records of the file plus, per list line,
    // the records that exist, and the time is linear in the file plus the records made (plus, per list
    // item, a search among the existing numbers). In the classic profile a *CONSTRAINT range expands
    // into every number it lists: one range expands to at most 16,777,216 numbers, and all the ranges of
    // one file together to at most 67,108,864 plus 16 per byte of the file; a range beyond either bound
    // adds nothing. Classic nodal and member loads name one number each.
    void SetReadingProfile(MidasReadingProfile profile);
    MidasReadingProfile GetReadingProfile() const;

    // The threads that read a file: large blocks (nodes, elements, supports, groups, loads) are cut into
    // pieces at line starts and parsed side by side, with the model, findings and ledger of a reading on
    // one thread. 0 (the default): the hardware threads; 1: everything on the calling thread. Files under
    // 16 MiB are read on the calling thread alone. Call before ReadMidasFile.
    void SetReadingThreads(int threads);
    int GetReadingThreads() const;

    // Sets the sink that receives findings and progress (not owned; null for none, the default).
    void SetDiagnostics(MidasDiagnostics* sink);

    // Builds the working records, renumbers them, scales them to kN and mm and appends fresh records to
    // model. False when the units cannot be converted (model untouched).
    bool TranMidastoOrvo(ModalData_Orvo& model);

    // Runs the translation steps into the translator's own working collections; returns 0.
    int Write();

    // Off by default: the translator keeps its parsed and working records until it is destroyed, so a
    // second TranMidastoOrvo or Write works on them again. On: TranMidastoOrvo frees them as the
    // hand-over consumes them, which lowers the peak memory of a large import to about the host model
    // plus one block; afterwards the translator holds nothing (HaveReadFile() is false again).
    void SetReleaseAfterHandOver(bool release);

private:
    class Impl;
    Impl* m_pImpl;
};
