// The public face Falcrest.dll must show to COM clients, written down independently of its IDL:
// every class with its class ID, its default interface and that interface's members in slot
// order. One row per property (its get and let take two slots), read-only property or method.
#pragma once

#include <ostream>
#include <vector>

namespace falcrest_surface {

constexpr const char* kLibraryId = "{5DBF2584-3A6B-47AF-A381-2F71D66FB346}";
constexpr const char* kLibraryName = "Falcrest";
constexpr const char* kLibraryHelp = "tarvanel Reminder Add-In Library";
constexpr unsigned short kMajorVersion = 211;
constexpr unsigned short kMinorVersion = 0;
constexpr unsigned long kLocale = 0x409;

enum class Kind { Property, ReadOnly, Method };

struct Member {
  Kind kind;
  const char* name;
  long dispid;
  // Property: the value's type. Method: "[flags] type name" for each parameter, comma-separated,
  // an optional one followed by its default ("= \"Device\"").
  const char* params;
  const char* result;  // Method only: the [out, retval] type, or "void"
};

struct Class {
  const char* name;
  const char* clsid;
  const char* iid;
  std::vector<Member> members;
};

// Test output names a class by its name.
inline void PrintTo(const Class& c, std::ostream* os) { *os << c.name; }

constexpr long P = 0x68030000;  // properties count down to this one
constexpr long M = 0x60030000;  // methods count up from this one, after the properties

inline const std::vector<Class>& Classes() {
  static const std::vector<Class> classes = {
      {"DeviceType", "{59728CC6-1228-4F44-B1F7-8C57C7A847AA}", "{AFF6611E-986F-456F-9106-A5FB69DB8508}",
       {{Kind::Property, "DeviceId", P + 7, "long", ""},
        {Kind::Property, "DeviceType", P + 6, "BSTR", ""},
        {Kind::Property, "DeviceAddress", P + 5, "BSTR", ""},
        {Kind::Property, "ServiceProviderName", P + 4, "BSTR", ""},
        {Kind::Property, "Selected", P + 3, "VARIANT_BOOL", ""},
        {Kind::Property, "LastDeliveryTime", P + 2, "DATE", ""},
        {Kind::Property, "DeliveryStatus", P + 1, "BSTR", ""},
        {Kind::Property, "ExtendStatus", P + 0, "BSTR", ""},
        {Kind::Method, "Serialize", M + 8, "[in,opt] BSTR tag = \"Device\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 9, "[in] BSTR xml", "VARIANT"}}},
      {"LicenseType", "{CA64A9D7-DF51-4EE3-827D-BDE858A52047}", "{CCE576C3-2269-41CD-9DD6-A3C9E886197A}",
       {{Kind::Property, "UserId", P + 3, "BSTR", ""},
        {Kind::Property, "Password", P + 2, "BSTR", ""},
        {Kind::Property, "ClientName", P + 1, "BSTR", ""},
        {Kind::Property, "ClientProgramName", P + 0, "BSTR", ""},
        {Kind::Method, "IsValid", M + 4, "", "VARIANT_BOOL"},
        {Kind::Method, "Serialize", M + 5, "[in,opt] BSTR tag = \"License\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 6, "[in] BSTR xml", "VARIANT"}}},
      // One property and the private CallWebMethod come before the operations.
      {"WebService", "{1E057B4E-C095-450E-A9B2-C828C88B2C5A}", "{39D422F4-B21B-4A35-B690-F05B680FDC55}",
       {{Kind::Property, "WebServiceURL", P + 0, "BSTR", ""},
        {Kind::Method, "GetOneMemberDevice", M + 2, "[in,out] _LicenseType** license, [in] BSTR deviceTypeName",
         "_DeviceType*"},
        {Kind::Method, "CreateReminder", M + 3, "[in,out] _LicenseType** license, [in,out] _ReminderType** reminder",
         "_ResultType*"},
        {Kind::Method, "GetReminderIds", M + 4,
         "[in,out] _LicenseType** license, [in,out] _CalendarEventKeyType** eventKey", "long"},
        {Kind::Method, "DeleteReminderByEventId", M + 5, "[in,out] _LicenseType** license, [in] long EventId", "long"},
        {Kind::Method, "ModifyReminderByEventId", M + 6,
         "[in,out] _LicenseType** license, [in,out] _ReminderType** reminder", "BSTR"}}},
      {"RegistryClass", "{F40253DC-3C77-4BEF-846E-22B58F8E3AAA}", "{6B4315B2-E4F0-4207-9DF9-F851B372D713}",
       {{Kind::Property, "RootKey", P + 2, "long", ""},
        {Kind::Property, "RootKeyName", P + 1, "BSTR", ""},
        {Kind::Property, "KeyName", P + 0, "BSTR", ""},
        {Kind::Method, "SetData", M + 3, "[in,out] BSTR* Name, [in,out] BSTR* data", "VARIANT"},
        {Kind::Method, "GetData", M + 4, "[in,out] BSTR* Name", "BSTR"},
        {Kind::Method, "KeyExist", M + 5, "", "VARIANT_BOOL"}}},
      {"ReminderType", "{DEF59A3A-02FF-4127-BCAE-28B1481AB65F}", "{E41C8F3C-3E36-4A18-AAFB-8DDECC5408D3}",
       {{Kind::Property, "EventPropty", P + 3, "_CalendarEventType*", ""},
        {Kind::Property, "RemindDateTime", P + 2, "BSTR", ""},
        {Kind::Property, "User", P + 1, "_MemberType*", ""},
        {Kind::Property, "Contacts", P + 0, "VARIANT", ""},
        {Kind::Method, "Serialize", M + 4, "[in,opt] BSTR tag = \"Reminder\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 5, "[in] BSTR xml", "VARIANT"}}},
      {"CalendarEventType", "{BA1DAC8A-F3E8-451F-9A62-0B29C1143251}", "{32502285-C89B-47B8-ADD3-B630044716C5}",
       {{Kind::Property, "EventId", P + 6, "long", ""},
        {Kind::Property, "ExternalId", P + 5, "long", ""},
        {Kind::Property, "EventDateTime", P + 4, "BSTR", ""},
        {Kind::Property, "Subject", P + 3, "BSTR", ""},
        {Kind::Property, "Description", P + 2, "BSTR", ""},
        {Kind::Property, "RepeatOption", P + 1, "BSTR", ""},
        {Kind::Property, "RepeatEndDate", P + 0, "BSTR", ""},
        {Kind::Method, "Serialize", M + 7, "[in,opt] BSTR tag = \"Event\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 8, "[in] BSTR xml", "VARIANT"}}},
      {"MemberType", "{ECC243FD-1BCB-499E-9410-3D3C7018896B}", "{1EAA91B8-7440-45A2-932D-AEE1889B899A}",
       {{Kind::Property, "UserId", P + 6, "BSTR", ""},
        {Kind::Property, "Password", P + 5, "BSTR", ""},
        {Kind::Property, "FirstName", P + 4, "BSTR", ""},
        {Kind::Property, "LastName", P + 3, "BSTR", ""},
        {Kind::Property, "SignupEmail", P + 2, "BSTR", ""},
        {Kind::Property, "TimeZone", P + 1, "BSTR", ""},
        {Kind::Property, "Devices", P + 0, "VARIANT", ""},
        {Kind::Method, "Serialize", M + 7, "[in,opt] BSTR tag = \"Member\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 8, "[in] BSTR xml", "VARIANT"}}},
      {"ContactType", "{458831A5-864D-42E2-9FA2-9D1E3DA61F20}", "{C139245B-779A-4686-A282-FDDA3ABB7EE0}",
       {{Kind::Property, "ContactId", P + 11, "long", ""},
        {Kind::Property, "FullName", P + 10, "BSTR", ""},
        {Kind::Property, "Title", P + 9, "BSTR", ""},
        {Kind::Property, "FirstName", P + 8, "BSTR", ""},
        {Kind::Property, "MiddleName", P + 7, "BSTR", ""},
        {Kind::Property, "LastName", P + 6, "BSTR", ""},
        {Kind::Property, "AddressLine1", P + 5, "BSTR", ""},
        {Kind::Property, "AddressLine2", P + 4, "BSTR", ""},
        {Kind::Property, "City", P + 3, "BSTR", ""},
        {Kind::Property, "state", P + 2, "BSTR", ""},
        {Kind::Property, "ZipCode", P + 1, "BSTR", ""},
        {Kind::Property, "Devices", P + 0, "VARIANT", ""},
        {Kind::Method, "Serialize", M + 12, "[in,opt] BSTR tag = \"Contact\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 13, "[in] BSTR xml", "VARIANT"}}},
      {"TimeZoneConst", "{B726F4AB-BE50-4615-8F02-B2726EE59675}", "{F20EC6EF-C4C3-42B0-A878-B33BB02E1C8B}",
       {{Kind::ReadOnly, "EasternTime", P + 5, "BSTR", ""},
        {Kind::ReadOnly, "PacificTime", P + 4, "BSTR", ""},
        {Kind::ReadOnly, "MountainTime", P + 3, "BSTR", ""},
        {Kind::ReadOnly, "AlaskaTime", P + 2, "BSTR", ""},
        {Kind::ReadOnly, "HawaiiTime", P + 1, "BSTR", ""},
        {Kind::ReadOnly, "BeijingTime", P + 0, "BSTR", ""}}},
      {"CalendarEventKeyType", "{1F0B596A-FA56-41A8-8537-714DC5269E55}", "{B87A7D9D-1477-4D34-92CF-E1B964D1287C}",
       {{Kind::Property, "UserId", P + 2, "BSTR", ""},
        {Kind::Property, "EventDateTime", P + 1, "BSTR", ""},
        {Kind::Property, "Subject", P + 0, "BSTR", ""},
        {Kind::Method, "Serialize", M + 3, "[in,opt] BSTR tag = \"EventKey\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 4, "[in] BSTR xml", "VARIANT"}}},
      {"MD5HashClass", "{C665A611-61B8-425D-9E78-EEEB8EBB6773}", "{8A6584B6-893B-4DDC-AC34-CA21DC1CC95C}",
       {{Kind::Method, "ComputeHash", M + 0, "[in,out] BSTR* text", "BSTR"}}},
      {"SystemConst", "{8CC0D6B4-8F71-47E5-B28C-FCB37749F036}", "{71D64EA6-B663-42C3-9EA8-6FC2B611E738}",
       {{Kind::ReadOnly, "Name", P + 1, "BSTR", ""},  //
        {Kind::ReadOnly, "ProgramName", P + 0, "BSTR", ""}}},
      {"ResultType", "{0037D046-BA7D-4806-8157-776821139AB7}", "{49CB751F-FA8A-44E1-B8DD-297C14D930C8}",
       {{Kind::Property, "ErrorMessage", P + 1, "BSTR", ""},
        {Kind::Property, "ReminderDetailUrl", P + 0, "BSTR", ""},
        {Kind::Method, "Serialize", M + 2, "[in,opt] BSTR tag = \"Result\"", "BSTR"},
        {Kind::Method, "Deserialize", M + 3, "[in] BSTR xml", "VARIANT"}}},
      {"Base64Class", "{301B935E-977E-4999-9AD1-09B38418C68C}", "{7B21C05F-3FB5-4E23-BEF4-B60DBC29FA24}",
       {{Kind::Method, "Encode64", M + 0, "[in,out] BSTR* sString", "BSTR"},
        {Kind::Method, "Decode64", M + 1, "[in,out] BSTR* sString", "BSTR"}}},
  };
  return classes;
}

}  // namespace falcrest_surface
