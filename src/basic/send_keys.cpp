// SendKeys keys[, wait]: the keys go to the program's active window
// through the host, as key presses queued behind the events waiting (VB's
// SendKeys sends to the active window; here it is always one of the
// program's own). Both engines read the string with the same scanner. A
// string that is no valid SendKeys string fails with error 5; without a
// host that shows windows the keys go nowhere.
#include "basic/builtins_support.h"
#include "vb_sendkeys_scan.h"

namespace corvane {

namespace {

using builtin_support::require_args;

static_assert(unsigned{VB_KEY_SHIFT} == SentKey::SHIFT && unsigned{VB_KEY_CTRL} == SentKey::CTRL &&
              unsigned{VB_KEY_ALT} == SentKey::ALT);

Value fn_sendkeys(VBRuntime& rt, std::vector<Value>& args) {
  require_args(args, 1, "SendKeys", true);
  const std::string text = vbstr(args[0]);
  const long count = vb_sendkeys_scan(text.c_str(), nullptr, 0);
  if (count < 0) throw VBError(5, "Invalid procedure call or argument: SendKeys");
  if (!rt.send_keys || count == 0) return Value();
  std::vector<VBSendKey> scanned(static_cast<size_t>(count));
  vb_sendkeys_scan(text.c_str(), scanned.data(), count);
  std::vector<SentKey> keys;
  keys.reserve(scanned.size());
  for (const VBSendKey& key : scanned)
    keys.push_back({static_cast<char32_t>(key.code), key.name ? key.name : "", key.modifiers});
  const bool wait = args.size() > 1 && truth(args[1]);
  rt.send_keys(keys, wait);
  return Value();
}

}  // namespace

void add_keyboard_builtins(BuiltinTable& table) { add_builtin(table, "SendKeys", fn_sendkeys); }

}  // namespace corvane
