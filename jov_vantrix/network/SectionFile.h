// The section exchange file of the calculation programs: ';'-separated text
// lines in code page 1250 with CR LF line ends, no quoting.
//
// Written ("CP", the export):    CP / 2 / per branch "#vetev;NAME" and two
//                                lines per section of that branch:
//   number;connect;name;branch-or-neighbour;CT;f8;f9;f10;f11;length
// Read ("PC", the results):      PC / 2 / "#vetev;NAME" lines, each opening
//                                a branch, and record lines:
//   number;kind;name;v0;...;v14;[t0;t1;t2;t3]   (texts on the 'P' line)
// Lines are read with or without the CR before the LF.
#pragma once

#include <string>
#include <unordered_map>

#include "platform/mfc/CString.h"

class CSecDataNew;
class CSecSezNew;
class CStdioFile;

// Writes the export's sections, branch by branch in the order of the list's
// branch names, each branch's sections in list order. A new file is written
// beside the target and then put in its place; append adds the branches
// behind an existing file's content, without the header. False, with the
// target untouched, when anything cannot be written.
bool WriteSectionFile(const CSecSezNew& sections, const char* path, bool append);

// Whether WriteSectionFile could put a file at path: its folder takes new
// files and path is no folder and no file that may not be written. Nothing
// is left behind.
bool CanCreateSectionFile(const char* path);

// The two lines of one section. The fourth field is the connected branch
// when there is one or the section connects to nothing (0), else the
// neighbour.
void WriteSectionRecord(const CSecDataNew& section, CStdioFile& file);
void AppendSectionRecord(const CSecDataNew& section, std::string& text);

// What a result file holds beyond its values, for the import to decide
// what may be applied.
struct SectionFileReport {
  // Record lines whose section number is no whole number within the range
  // of int ("2x", "3.9", "0x5", an empty one): "line n". The section is
  // still read as atoi reads the number.
  CString badNumber;
  // The sections whose 'P' line or other line is missing or not whole, as
  // "number (line n)" joined by ", ", lines counted from "PC" as 1; empty
  // when every section is whole.
  CString malformed;
  // Lines that repeat what the file already said: a branch block a second
  // time ("branch NAME (line n)") or a second 'P' or other line of one
  // section ("number (line n)"); empty when nothing repeats.
  CString repeated;
  // Record lines with a value the import applies (name, values, texts)
  // longer than an extended-data string holds (255 bytes): "line n".
  CString tooLong;
  // Record lines with a number the import applies that is not finite
  // ("nan", "inf", "1e309"): "line n".
  CString notFinite;
  // The first line holding an end-of-file mark (Ctrl-Z) or a NUL byte,
  // "line n"; reading stops there. A single Ctrl-Z ending the file is its
  // end mark and is no fault.
  CString controlByte;
  // How many of its four texts the 'P' line of a section held, for the
  // sections whose 'P' line held fewer.
  std::unordered_map<const CSecDataNew*, int> textsHeld;
};

// Reads a result file into branches appended to root: 2, or 0 when the file
// cannot be opened or does not begin with the lines "PC" and a version that
// reads as 2 ("02" and "2.5" do). Record lines before the first branch line
// and lines without ';' are passed over; lines of the same number within a
// branch fill one section. Lines are read whole, of any length, and end at
// LF (a CR before it is dropped). With a report, says which sections are
// not whole, which lack texts, and what makes the file unfit to apply.
int ReadSectionFile(CSecSezNew& root, const char* path, SectionFileReport* report = nullptr);

// What one record line held: its side, whether it holds every value the
// import applies (values 0-14 on a 'P' line, 0-5 on the other), each closed
// by ';', and how many of the 'P' line's texts.
struct SectionLineRead {
  bool supply = false;
  bool whole = false;
  int texts = 0;
  bool tooLong = false;  // an applied value is longer than kMaxAppliedValue
  bool notFinite = false;  // an applied number reads as nan, inf or beyond the doubles
};

// The longest value an extended-data string takes.
constexpr int kMaxAppliedValue = 255;

// Fills a section from a record line after its number: the kind ('P' by its
// first character, any other the partner's side) and the name must each end
// with ';'. Values are taken while each ends with ';'; texts, on a 'P' line
// after all fifteen values, up to ';' or the end of the line. A 'P' value 9
// whose fraction is all zeros loses it ("12.000" gives "12").
SectionLineRead ParseSectionRecord(CSecDataNew& section, const char* rest, int version);

// The first child section with that number; null when none.
CSecDataNew* FindSectionRecord(const CSecSezNew& branch, int number);
// The first child branch of that name (case-sensitive); null when none.
CSecSezNew* FindSectionBranch(const CSecSezNew& root, const CString& name);
