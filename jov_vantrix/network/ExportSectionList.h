// The export's numbering and its section list: the association groups of
// the scheme are numbered one step at a time from the running counter (the
// scheme's next free number), the rest when the user confirms, and the
// numbered pipes become the sections of the exchange file, their final
// numbers written into their extended data. Labels are made only with a
// height above 0.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "platform/mfc/CString.h"

class CObjDataNew;
class CObjSezNew;
class CSecSezNew;
struct ExportParams;

// Numbers the group numbered groupId + 1 from the counter, with an undo
// step on the scheme's undo stack: 1; 0 (nothing changed) when the group is
// missing, fixed or numbered already.
int NumberSchemeGroup(CObjSezNew& network, int groupId);

// The largest first number for which every number and connect number the
// scheme's groups can take stays within int, which the exchange file and
// the drawing hold: INT32_MAX less the numbers the groups take and their
// largest read number or connect. widest, when given, says the record
// holding that number as "handle (key KEY)".
int64_t LargestFirstNumber(const CObjSezNew& network, CString* widest = nullptr);

// What confirming the export does first: the groups not yet numbered take
// their numbers from the counter in list order, then the links between
// groups are made consistent (every group without flag A, then the last
// one with it).
void CompleteExportNumbering(CObjSezNew& network);

// Rebuilds the section list from the scheme's pipes (the i-th supply pipe
// of a group with the i-th return pipe of that group) and writes the
// numbers into the pipes and the pipes linked to them, labelling the supply
// pipes when asked. False, with nothing written, when a group holds
// unequal numbers of supply and return pipes, no pipe is linked to a
// floor-plan pipe, a text the file would carry holds a ';', CR or LF
// (then unwritable, when given, says its entity's handle and key), or a
// pipe's length is no usable length (then unusable says where), or the
// final numbers of the supply or the return pipes would name sections
// ambiguously or a drawn return pipe's number is not that of the supply
// pipe it pairs with (then misnumbered says where and what).
bool BuildExportSectionList(CObjSezNew& network, const ExportParams& params, CSecSezNew& sections,
                            CString* unwritable = nullptr, CString* unusable = nullptr,
                            CString* misnumbered = nullptr);

// Appends one section made from a pipe, its partner and its product (both
// may be null); the branch goes to the head of the list's branch names the
// first time it is seen. units is the drawing's units per metre. named,
// when given, holds every name of the list (and takes the new one): the
// list is then not searched, once per section.
void BuildSectionRecord(CSecSezNew& sections, int units, CObjDataNew* pipe, CObjDataNew* partner,
                        CObjDataNew* product, const CString& connectedBranch,
                        std::unordered_set<std::string>* named = nullptr);

// "V" + the branch of the first record of the pipe's type in the scheme that
// connects to the pipe's number from another branch; out unchanged when
// there is none or the pipe's riser number is empty or "2".
void GetConnectedBranchName(const CObjSezNew& network, const CObjDataNew* pipe, CString& out);
