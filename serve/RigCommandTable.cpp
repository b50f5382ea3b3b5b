// The rig-control commands in the order of the protocol's own table: short
// name, long name, arguments (after the VFO in VFO mode), how the answer is
// written, and the handler. docs/serving.md says what each answers and why.
#include <algorithm>

#include "serve/RigCommand.h"
#include "serve/RigHandlers.h"

namespace {

constexpr unsigned V = kTakesVfo;
constexpr unsigned A = kAnswersValues;
constexpr unsigned L = kListsOnQuery;

std::vector<RigCommand> BuildTable() {
  using namespace rig;
  return {
      {'F', "set_freq", 1, 1, V, SetFrequency},
      {'f', "get_freq", 0, 0, V | A, GetFrequency},
      {'M', "set_mode", 1, 2, V | L, SetMode},
      {'m', "get_mode", 0, 0, V | A, GetMode},
      {'I', "set_split_freq", 1, 1, V, MissingFrequency},
      {'i', "get_split_freq", 0, 0, V | A, Missing},
      {'X', "set_split_mode", 2, 2, V | L, SetSplitMode},
      {'x', "get_split_mode", 0, 0, V | A, Missing},
      {'K', "set_split_freq_mode", 3, 3, V | L, SetSplitFreqMode},
      {'k', "get_split_freq_mode", 0, 0, V | A, Missing},
      {'S', "set_split_vfo", 2, 2, V, SetSplitVfo},
      {'s', "get_split_vfo", 0, 0, V | A, GetSplitVfo},
      {'N', "set_ts", 1, 1, V, SetTuningStep},
      {'n', "get_ts", 0, 0, V | A, GetTuningStep},
      {'L', "set_level", 2, 2, V | L, SetLevelOrFunc},
      {'l', "get_level", 1, 1, V | A | L, GetLevelFuncOrParm},
      {'U', "set_func", 2, 2, V | L, SetLevelOrFunc},
      {'u', "get_func", 1, 1, V | A | L, GetLevelFuncOrParm},
      {'P', "set_parm", 2, 2, L, SetParm},
      {'p', "get_parm", 1, 1, A | L, GetLevelFuncOrParm},
      {'G', "vfo_op", 1, 1, V | L, VfoOperation},
      {'g', "scan", 2, 2, V | L, Scan},
      {'A', "set_trn", 1, 1, 0, Deprecated},
      {'a', "get_trn", 0, 0, A, Deprecated},
      {'R', "set_rptr_shift", 1, 1, V, Missing},
      {'r', "get_rptr_shift", 0, 0, V | A, Missing},
      {'O', "set_rptr_offs", 1, 1, V, MissingIntegers},
      {'o', "get_rptr_offs", 0, 0, V | A, Missing},
      {'C', "set_ctcss_tone", 1, 1, V, MissingIntegers},
      {'c', "get_ctcss_tone", 0, 0, V | A, Missing},
      {'D', "set_dcs_code", 1, 1, V, MissingIntegers},
      {'d', "get_dcs_code", 0, 0, V | A, Missing},
      {0, "set_ctcss_sql", 1, 1, V, MissingIntegers},
      {0, "get_ctcss_sql", 0, 0, V | A, Missing},
      {0, "set_dcs_sql", 1, 1, V, MissingIntegers},
      {0, "get_dcs_sql", 0, 0, V | A, Missing},
      {'V', "set_vfo", 1, 1, L, SetVfo},
      {'v', "get_vfo", 0, 0, A, GetVfo},
      {'T', "set_ptt", 1, 1, V, SetPtt},
      {'t', "get_ptt", 0, 0, V | A, GetPtt},
      {'E', "set_mem", 1, 1, V, MissingIntegers},
      {'e', "get_mem", 0, 0, V | A, Missing},
      {'H', "set_channel", 1, 1, 0, Missing},
      {'h', "get_channel", 2, 2, 0, GetChannel},
      {'B', "set_bank", 1, 1, V, MissingIntegers},
      {'_', "get_info", 0, 0, A, GetInfo},
      {'J', "set_rit", 1, 1, V, MissingIntegers},
      {'j', "get_rit", 0, 0, V | A, Missing},
      {'Z', "set_xit", 1, 1, V, MissingIntegers},
      {'z', "get_xit", 0, 0, V | A, Missing},
      {'Y', "set_ant", 2, 2, V, MissingIntegers},
      {'y', "get_ant", 1, 1, A, MissingIntegers},
      {0, "set_powerstat", 1, 1, 0, SetPowerStat},
      {0, "get_powerstat", 0, 0, A, GetPowerStat},
      {0, "send_dtmf", 1, 1, V, Missing},
      {0, "recv_dtmf", 0, 0, V | A, Missing},
      {'*', "reset", 1, 1, V, MissingIntegers},
      {'w', "send_cmd", 1, 1, A | kWholeLine | kTrimsOneBlank, Missing},
      {'W', "send_cmd_rx", 2, 2, A, Missing},
      {'b', "send_morse", 1, 1, kWholeLine, Missing},
      {0, "stop_morse", 0, 0, V, Missing},
      {0, "wait_morse", 0, 0, V, Missing},
      {0, "send_voice_mem", 1, 1, V, MissingIntegers},
      {0, "get_dcd", 0, 0, V | A, Missing},
      {0, "set_twiddle", 1, 1, 0, SetOnlyOff},
      {0, "get_twiddle", 0, 0, A, GetTwiddle},
      {0, "uplink", 1, 1, 0, SetOnlyOff},
      {0, "set_cache", 1, 1, 0, SetOnlyOff},
      {0, "get_cache", 0, 0, A, GetCache},
      {'2', "power2mW", 3, 3, A, PowerToMilliwatts},
      {'4', "mW2power", 3, 3, A, MilliwattsToPower},
      {'1', "dump_caps", 0, 0, 0, DumpCaps},
      {'3', "dump_conf", 0, 0, 0, DumpConf},
      {0, "dump_state", 0, 0, A, DumpState},
      {0, "chk_vfo", 0, 0, A | kLabelledOnly, CheckVfo},
      {0, "set_vfo_opt", 1, 1, 0, SetVfoOption},
      {0, "get_vfo_info", 1, 1, A | L, GetVfoInfo},
      {0, "get_rig_info", 0, 0, A, GetRigInfo},
      {0, "get_vfo_list", 0, 0, A, GetVfoList},
      {0, "get_modes", 0, 0, A, GetModes},
      {0, "get_clock", 0, 0, 0, Unimplemented},
      {0, "set_clock", 1, 1, 0, SetClock},
      {0, "halt", 0, 0, 0, Missing},  // the panel is not stopped from the network
      {0, "pause", 1, 1, V, MissingIntegers},
      {0, "password", 1, 1, 0, Missing},  // the port has no password
      {0, "get_mode_bandwidths", 1, 1, 0, GetModeBandwidths},
      {0, "set_separator", 1, 1, 0, SetSeparator},
      {0, "get_separator", 0, 0, 0, GetSeparator},
      {0, "set_lock_mode", 1, 1, 0, SetLockMode},
      {0, "get_lock_mode", 0, 0, 0, GetLockMode},
      {0, "send_raw", 2, 2, A, Missing},
      {'q', "quit", 0, 0, kQuits, Quit},
      {'Q', "quit", 0, 0, kQuits, Quit},
  };
}

}  // namespace

const std::vector<RigCommand>& RigCommands() {
  static const std::vector<RigCommand> table = BuildTable();
  return table;
}

const RigCommand* FindRigCommand(std::string_view word) {
  const std::vector<RigCommand>& table = RigCommands();
  const bool isLong = word.size() > 1 && word.front() == '\\';
  const auto found = std::find_if(table.begin(), table.end(), [&](const RigCommand& command) {
    return isLong ? command.name == word.substr(1)
                  : word.size() == 1 && command.shortName != 0 && command.shortName == word.front();
  });
  return found == table.end() ? nullptr : &*found;
}
