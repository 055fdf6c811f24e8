// Constructors, destructors and class counters of the host's model records.
#include "midas2orvo/OrvoModel.h"

#include <atomic>

#include "RecordArena.h"

void* CObjectBase::operator new(std::size_t bytes) { return midas2orvo::RecordArena::Allocate(bytes); }
void CObjectBase::operator delete(void* record, std::size_t bytes) noexcept
{
    midas2orvo::RecordArena::Free(record, bytes);
}
void* CObjectBase::operator new(std::size_t bytes, std::align_val_t alignment) { return ::operator new(bytes, alignment); }
void CObjectBase::operator delete(void* record, std::size_t, std::align_val_t alignment) noexcept
{
    ::operator delete(record, alignment);
}

const char* CObjectBase::GetRuntimeClass() const { return nullptr; }
CObjectBase::~CObjectBase() = default;
void CObjectBase::Serialize() {}
void CObjectBase::AssertValid() const {}
void CObjectBase::Dump() const {}

namespace {
// Objects of each counted class alive now, across every thread: two translations may run at once, each
// into its own host model. A new object's ID is the count after its own increment.
std::atomic<int> g_nMaterialCount{0};
std::atomic<int> g_nLSectionCount{0};
} // namespace

Node_Orvo::Node_Orvo() = default;
Node_Orvo::~Node_Orvo() = default;
Line_Orvo::Line_Orvo() = default;
Line_Orvo::~Line_Orvo() = default;
Area_Orvo::Area_Orvo() = default;
Area_Orvo::~Area_Orvo() = default;
ASection_Orvo::ASection_Orvo() = default;
ASection_Orvo::~ASection_Orvo() = default;
PointLoad_Orvo::PointLoad_Orvo() = default;
PointLoad_Orvo::~PointLoad_Orvo() = default;
LineLoad_Orvo::LineLoad_Orvo() = default;
LineLoad_Orvo::~LineLoad_Orvo() = default;

Material_Orvo::Material_Orvo() : ID(g_nMaterialCount.fetch_add(1) + 1) {}
Material_Orvo::~Material_Orvo() { g_nMaterialCount.fetch_sub(1); }
int Material_Orvo::LiveCount() { return g_nMaterialCount.load(); }

LSection_Orvo::LSection_Orvo() : ID(g_nLSectionCount.fetch_add(1) + 1)
{
    Properties.SetSize(13);
    for (double& value : Properties)
        value = 0.0;
}
LSection_Orvo::~LSection_Orvo() { g_nLSectionCount.fetch_sub(1); }
int LSection_Orvo::LiveCount() { return g_nLSectionCount.load(); }

ModalData_Orvo::ModalData_Orvo() = default;
ModalData_Orvo::~ModalData_Orvo() = default;
