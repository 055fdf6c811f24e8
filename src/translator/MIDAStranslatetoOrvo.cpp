// The exported class: a face that hands every call to the translator behind it.
#include "MIDAStranslatetoOrvo.h"

#include "Translation.h"

class MIDAStranslatetoOrvo::Impl final : public Translation {};

MIDAStranslatetoOrvo::MIDAStranslatetoOrvo() : m_pImpl(new Impl) {}

MIDAStranslatetoOrvo::~MIDAStranslatetoOrvo() { delete m_pImpl; }

bool MIDAStranslatetoOrvo::ReadMidasFile(const char* path) { return m_pImpl->ReadMidasFile(path); }

bool MIDAStranslatetoOrvo::HaveReadFile() const { return m_pImpl->HaveReadFile(); }

void MIDAStranslatetoOrvo::SetReadingProfile(MidasReadingProfile profile) { m_pImpl->SetReadingProfile(profile); }

MidasReadingProfile MIDAStranslatetoOrvo::GetReadingProfile() const { return m_pImpl->GetReadingProfile(); }

void MIDAStranslatetoOrvo::SetDiagnostics(MidasDiagnostics* sink) { m_pImpl->SetDiagnostics(sink); }

bool MIDAStranslatetoOrvo::TranMidastoOrvo(ModalData_Orvo& model) { return m_pImpl->TranMidastoOrvo(model); }

int MIDAStranslatetoOrvo::Write() { return m_pImpl->Write(); }

void MIDAStranslatetoOrvo::SetReadingThreads(int threads) { m_pImpl->SetReadingThreads(threads); }

int MIDAStranslatetoOrvo::GetReadingThreads() const { return m_pImpl->GetReadingThreads(); }

void MIDAStranslatetoOrvo::SetReleaseAfterHandOver(bool release) { m_pImpl->SetReleaseAfterHandOver(release); }
static_assert(sizeof(MIDAStranslatetoOrvo) <= 32, "the exported class holds a table pointer and one pointer to its implementation");
