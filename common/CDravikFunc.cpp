#include "common/CDravikFunc.h"

CDravikFunc::CDravikFunc(const char* hostPath, bool lt, int lvl)
    : CModule(hostPath, true), isLT(lt), level(static_cast<uint32_t>(lvl)) {}

bool CDravikFunc::Resolve() {
  if (!Fetch(alt_entnext, "alt_entnext")) return false;
  if (!Fetch(alt_layernext, "alt_layernext")) return false;
  if (!Fetch(alt_blknext, "alt_blknext")) return false;
  if (!Fetch(alt_blkmake, "alt_blkmake")) return false;
  if (!Fetch(alt_blkmake_bin, "alt_blkmake_bin")) alt_blkmake_bin = alt_blkmake;
  if (!Fetch(alt_prompt, "alt_prompt")) return false;
  if (!Fetch(alt_send, "alt_send")) return false;
  if (!Fetch(err_message, "err_message")) return false;
  if (!Fetch(DXF_HEADER_BIN, "DXF_HEADER_BIN")) return false;
  if (!Fetch(DXF_EOF_BIN, "DXF_EOF_BIN")) return false;
  if (!Fetch(DXF_HEADER, "DXF_HEADER")) return false;
  if (!Fetch(DXF_EOF, "DXF_EOF")) return false;
  if (!Fetch(alt_entmake, "alt_entmake")) return false;
  if (!Fetch(alt_entmake_txt, "alt_entmake_txt")) return false;
  if (!Fetch(alt_entmake_bin, "alt_entmake_bin")) return false;
  if (!Fetch(unlink_DXF, "unlink_DXF")) return false;
  if (!Fetch(WriteAcadEnvStr, "WriteAcadEnvStr")) return false;
  if (!Fetch(GetDatabase, "GetDatabase")) return false;
  if (!Fetch(GetLastHandle, "GetLastHandle")) return false;
  if (!Fetch(RegAppBin, "RegAppBin")) return false;
  if (!Fetch(CreateDefLineType, "CreateDefLineType")) return false;
  if (!Fetch(GetProfilePath, "GetProfilePath")) return false;
  if (isLT) {
    if (!Fetch(makeblockdef_txt, "makeblockdef_txt")) return false;
    if (!Fetch(makeblockdef_bin, "makeblockdef_bin")) return false;
    if (level >= 7 && !Fetch(alt_makeblockdef, "alt_makeblockdef")) return false;
  } else {
    if (!Fetch(GetBlockHandle, "GetBlockHandle")) return false;
  }
  if (level >= 9 && !Fetch(alt_layerfind, "alt_layerfind")) return false;
  Fetch(alt_entnext_app, "alt_entnext_app");
  Fetch(alt_entdel, "alt_entdel");
  Fetch(alt_lasterror, "alt_lasterror");
  return true;
}
