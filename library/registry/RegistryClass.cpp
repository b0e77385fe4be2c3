#include "library/registry/RegistryClass.h"

#include "library/registry/RegistryAPI.h"
#include "library/registry/RegistryStore.h"

namespace falcrest {

namespace {

constexpr const char* kCurrentUserName = "HKEY_CURRENT_USER";
constexpr const char* kLocalMachineName = "HKEY_LOCAL_MACHINE";

}  // namespace

void RegistryClass::SetRootKey(int32_t value) {
  root_key_ = value;
  if (static_cast<uint32_t>(value) == registry::kCurrentUser) root_key_name_ = kCurrentUserName;
  if (static_cast<uint32_t>(value) == registry::kLocalMachine) root_key_name_ = kLocalMachineName;
}

void RegistryClass::SetRootKeyName(const std::string& value) {
  root_key_name_ = value;
  // Exact case: any other spelling is kept as text and leaves RootKey as it was.
  if (value == kCurrentUserName) root_key_ = static_cast<int32_t>(registry::kCurrentUser);
  if (value == kLocalMachineName) root_key_ = static_cast<int32_t>(registry::kLocalMachine);
}

void RegistryClass::SetData(const std::string& Name, const std::string& data) const {
  RegistryAPI::WriteValue(root_key_, key_name_, Name, data);
}

std::string RegistryClass::GetData(const std::string& Name) const {
  RegistryAPI::ReadResult value = RegistryAPI::ReadValue(root_key_, key_name_, Name);
  if (const int32_t* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
  return std::get<std::string>(value);
}

bool RegistryClass::KeyExist() const { return RegistryAPI::KeyExists(root_key_, key_name_); }

}  // namespace falcrest
