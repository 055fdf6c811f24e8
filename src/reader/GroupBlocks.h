// Group, support and end-release blocks: *GROUP, *CONSTRAINT and *FRAME-RLS.
#pragma once

#include "CompactFields.h"
#include "MidasBlock.h"
#include "TextUtils.h"

// A named group with its node and element lists.
class GroupRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    // Appends the space-separated numbers of text (no ranges); false for an empty text.
    static bool ParseIDList(const std::string& text, ValueArray<int>& list);
    std::string m_strName;
    std::string m_strNodeList;
    std::string m_strElementList;
    ValueArray<int> m_NodeIDs;
    ValueArray<int> m_ElementIDs;
    // The element list with its ranges unexpanded (the current layout, which leaves the lists above empty).
    IdList m_ElementRanges;
};

// Restrained freedoms ("111000") of a list of nodes.
class ConstraintRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    bool AddIdRange(const std::string& item);
    // Stores non-empty flag text; false (nothing stored) for empty text.
    bool SetFlags(const std::string& text);
    std::string m_strFlags;
    ValueArray<int> m_NodeIDs;
    // The node list with its ranges unexpanded (the current layout, which leaves m_NodeIDs empty).
    IdList m_NodeRanges;

protected:
    // Reads the node list and the flags; addItem takes each item of the list.
    template <class AddItem>
    bool ParseLine(const char* line, AddItem addItem);
};

// Released freedoms at the two ends of one element, written over two physical lines.
class FrameReleaseRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    ShortText m_strPartial;
    ShortText m_strEndIFlags;
    ShortText m_strEndJFlags;
    int m_nElementID = 0;
};

class GroupBlock final : public BlockOf<GroupRecord> {};
class ConstraintBlock final : public BlockOf<ConstraintRecord> {};

// Joins the physical lines of each release record. The classic join steps back to a keyword line it
// ran into, whose bytes the driver then cuts afresh.
class FrameReleaseBlock final : public BlockOf<FrameReleaseRecord> {
public:
    static constexpr std::size_t kMaxJoined = 2047;
    bool ReadsInChunks() const override { return false; }  // a record may span lines
    bool ReadDataLine(LineSource& lines, std::string& out) override;

private:
    bool JoinUntilComma(LineSource& lines, std::string& out);
    bool JoinTwoLines(LineSource& lines, std::string& out);
};
