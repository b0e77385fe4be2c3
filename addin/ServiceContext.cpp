// The add-in's long-lived service objects and the credentials step before every group of
// service calls.
#include "addin/ReminderDesigner.h"
#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "library/digest/MD5HashClass.h"
#include "library/support/Error.h"

namespace reminder {

namespace {

[[noreturn]] void RaiseNoServiceContext() {
  falcrest::RaiseMissingObject(
      "The Reminder add-in has no service context: its connection to Outlook did not complete");
}

}  // namespace

void ReminderDesigner::SetUpServiceContext() {
  SettingRegistry = std::make_shared<falcrest::RegistryClass>();
  ServiceCredentials = std::make_shared<falcrest::LicenseType>();
  ReminderWebService = std::make_shared<falcrest::WebService>();
  ClientConst = std::make_shared<falcrest::SystemConst>();
  SettingRegistry->SetRootKeyName(falcrest::kSettingsRootName);
  SettingRegistry->SetKeyName(falcrest::kSettingsKey);
}

void ReminderDesigner::PrepareServiceCall() {
  falcrest::LicenseType& credentials = Credentials();
  if (!ClientConst) RaiseNoServiceContext();
  credentials.ClientName = ClientConst->Name();
  credentials.ClientProgramName = ClientConst->ProgramName();
  credentials.UserId = Setting(falcrest::kUserIdValue);
  credentials.Password = PasswordDigest(Setting(falcrest::kPasswordValue));
  Service().WebServiceURL = Setting(falcrest::kWebServiceUrlValue);
}

std::string ReminderDesigner::Setting(const char* name) const { return Registry().GetData(name); }

bool ReminderDesigner::CredentialsStored() const {
  return !Setting(falcrest::kUserIdValue).empty() && !Setting(falcrest::kPasswordValue).empty();
}

// The page stores the password Base64-encoded; the service wants the digest of the plain one.
std::string ReminderDesigner::PasswordDigest(const std::string& stored) {
  if (stored.empty()) return std::string();
  std::string encoded = stored;
  return falcrest::MD5HashClass().ComputeHash(falcrest::Base64Class().Decode64(encoded));
}

falcrest::RegistryClass& ReminderDesigner::Registry() const {
  if (!SettingRegistry) RaiseNoServiceContext();
  return *SettingRegistry;
}

falcrest::WebService& ReminderDesigner::Service() const {
  if (!ReminderWebService) RaiseNoServiceContext();
  return *ReminderWebService;
}

falcrest::LicenseType& ReminderDesigner::Credentials() const {
  if (!ServiceCredentials) RaiseNoServiceContext();
  return *ServiceCredentials;
}

}  // namespace reminder
