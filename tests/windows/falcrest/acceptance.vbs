' Falcrest.dll as a script writer meets it, every result compared exactly (value and variant type).
'   cscript //nologo acceptance.vbs members       every class created by its ProgID, every member called
'   cscript //nologo acceptance.vbs service URL   create, look up, modify and delete a reminder through
'                                                 the reminder service at URL (member demo, password demo)
' The library must be registered; "members" also wants HKCU\Software\FalcrestAcceptance absent.
' Wine's cscript ends silently on a script error, so the last line says how far it got.
Option Explicit

Dim checks, failures, section, lastCheck
checks = 0 : failures = 0 : lastCheck = "(start)"

Function Shown(v)
  If IsObject(v) Then
    Shown = "(object)"
  ElseIf IsArray(v) Then
    Shown = "(array)"
  ElseIf IsEmpty(v) Then
    Shown = "(Empty)"
  ElseIf IsNull(v) Then
    Shown = "(Null)"
  Else
    Dim t : t = CStr(v)
    t = Replace(Replace(Replace(t, Chr(0), "\0"), vbCr, "\r"), vbLf, "\n")
    Shown = """" & t & """ (vartype " & VarType(v) & ")"
  End If
End Function

Sub Fail(name, message)
  failures = failures + 1
  WScript.Echo "FAIL " & section & " / " & name & ": " & message
End Sub

' An error still pending was raised by a statement since the last check: a call that failed
' and so skipped the check written on its line, or a setter.
Sub PendingError()
  If Err.Number <> 0 Then
    Fail "after check """ & lastCheck & """", "error " & Err.Number & " (" & Err.Source & "): " & Err.Description
    Err.Clear
  End If
End Sub

Sub Check(name, actual, expected)
  PendingError
  checks = checks + 1
  lastCheck = name
  If IsObject(actual) Or IsArray(actual) Then
    Fail name, "got " & Shown(actual) & ", expected " & Shown(expected)
  ElseIf VarType(actual) <> VarType(expected) Then
    Fail name, "got " & Shown(actual) & ", expected " & Shown(expected)
  ElseIf actual <> expected Then
    Fail name, "got " & Shown(actual) & ", expected " & Shown(expected)
  End If
End Sub

' The statement just before raised an error: its number, and its source and description unless Null.
Sub ExpectError(name, number, source, description)
  checks = checks + 1
  lastCheck = name
  If Err.Number = 0 Then
    Fail name, "no error raised, expected error " & number
    Exit Sub
  End If
  Dim got, wanted : got = "error " & Err.Number & " (" & Err.Source & "): " & Err.Description
  wanted = ""
  If Not IsNull(number) Then
    If Err.Number <> number Then wanted = wanted & "; expected number " & number
  End If
  If Not IsNull(source) Then
    If Err.Source <> source Then wanted = wanted & "; expected source " & source
  End If
  If Not IsNull(description) Then
    If Err.Description <> description Then wanted = wanted & "; expected description " & description
  End If
  If wanted <> "" Then Fail name, got & wanted
  Err.Clear
End Sub

Sub Begin(name)
  PendingError
  section = name
  WScript.Echo "-- " & name
End Sub

Function Make(progId)
  On Error Resume Next
  Set Make = Nothing
  Set Make = CreateObject(progId)
  checks = checks + 1
  lastCheck = "CreateObject " & progId
  If Err.Number <> 0 Then
    Fail "CreateObject(""" & progId & """)", "error " & Err.Number & " (" & Err.Source & "): " & Err.Description
    Err.Clear
  End If
End Function

' An empty slot of a record array: Nothing or Empty.
Function IsNoRecord(v)
  If IsObject(v) Then
    IsNoRecord = (v Is Nothing)
  Else
    IsNoRecord = IsEmpty(v)
  End If
End Function

Const kEmptyDevice = "<Device><DeviceId>0</DeviceId><DeviceType></DeviceType><DeviceAddress></DeviceAddress><ServiceProviderName></ServiceProviderName><Selected>false</Selected><LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime><DeliveryStatus></DeliveryStatus><ExtendStatus></ExtendStatus></Device>"
Const kEmptyEvent = "<Event><EventId>0</EventId><ExternalId>0</ExternalId><EventDateTimeString></EventDateTimeString><Subject></Subject><Description></Description><RepeatOption></RepeatOption><RepeatEndDate></RepeatEndDate></Event>"

Dim classNames, name
classNames = Array("DeviceType", "LicenseType", "WebService", "RegistryClass", "ReminderType", _
  "CalendarEventType", "MemberType", "ContactType", "TimeZoneConst", "CalendarEventKeyType", _
  "MD5HashClass", "SystemConst", "ResultType", "Base64Class")


Sub DeviceTypeMembers()
  On Error Resume Next
  Begin "DeviceType"
  Dim d : Set d = Make("Falcrest.DeviceType")
  Check "new Serialize()", d.Serialize(), kEmptyDevice
  Check "new DeviceId", d.DeviceId, CLng(0)
  Check "new Selected", d.Selected, False
  Check "new LastDeliveryTime", d.LastDeliveryTime, CDate(0)
  d.DeviceId = 42
  Check "DeviceId", d.DeviceId, CLng(42)
  d.DeviceType = "WorkEmail"
  Check "DeviceType", d.DeviceType, "WorkEmail"
  d.DeviceAddress = "kim@example.com"
  Check "DeviceAddress", d.DeviceAddress, "kim@example.com"
  d.ServiceProviderName = "Acme"
  Check "ServiceProviderName", d.ServiceProviderName, "Acme"
  d.Selected = True
  Check "Selected", d.Selected, True
  d.LastDeliveryTime = DateSerial(2026, 12, 9) + TimeSerial(10, 30, 0)
  Check "LastDeliveryTime", d.LastDeliveryTime, DateSerial(2026, 12, 9) + TimeSerial(10, 30, 0)
  d.DeliveryStatus = "Delivered"
  Check "DeliveryStatus", d.DeliveryStatus, "Delivered"
  d.ExtendStatus = "none"
  Check "ExtendStatus", d.ExtendStatus, "none"
  Check "Serialize(""Dev"")", d.Serialize("Dev"), "<Dev><DeviceId>42</DeviceId><DeviceType>WorkEmail</DeviceType>" & _
    "<DeviceAddress>kim@example.com</DeviceAddress><ServiceProviderName>Acme</ServiceProviderName><Selected>true</Selected>" & _
    "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime><DeliveryStatus>Delivered</DeliveryStatus>" & _
    "<ExtendStatus>none</ExtendStatus></Dev>"

  Dim r
  r = d.Deserialize("<Device><DeviceId>7</DeviceId><DeviceType>SMS</DeviceType><DeviceAddress>5551234</DeviceAddress>" & _
    "<ServiceProviderName>Tel &amp; Co</ServiceProviderName><Selected>False</Selected><LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>" & _
    "<DeliveryStatus>sent</DeliveryStatus><ExtendStatus>x</ExtendStatus></Device>")
  Check "Deserialize returns Empty", IsEmpty(r), True
  Check "Deserialize: DeviceId", d.DeviceId, CLng(7)
  Check "Deserialize: DeviceType", d.DeviceType, "SMS"
  Check "Deserialize: DeviceAddress", d.DeviceAddress, "5551234"
  Check "Deserialize: ServiceProviderName", d.ServiceProviderName, "Tel & Co"
  Check "Deserialize: Selected", d.Selected, False
  Check "Deserialize keeps LastDeliveryTime for year 1", d.LastDeliveryTime, DateSerial(2026, 12, 9) + TimeSerial(10, 30, 0)
  Check "Deserialize keeps DeliveryStatus", d.DeliveryStatus, "Delivered"
  Check "Deserialize keeps ExtendStatus", d.ExtendStatus, "none"
  r = d.Deserialize(Replace(kEmptyDevice, "false", "yes"))
  ExpectError "Deserialize of Selected ""yes""", 13, Null, Null
  r = d.Deserialize("<Device/>")
  ExpectError "Deserialize without elements", 91, Null, Null
  PendingError
End Sub

Sub MemberTypeMembers()
  On Error Resume Next
  Begin "MemberType"
  Dim m : Set m = Make("Falcrest.MemberType")
  Check "new Serialize()", m.Serialize(), "<Member><UserId></UserId><Password></Password><FirstName></FirstName>" & _
    "<LastName></LastName><SignupEmail></SignupEmail><TimeZone></TimeZone><Devices></Devices></Member>"
  m.UserId = "kim" : Check "UserId", m.UserId, "kim"
  m.Password = "pw" : Check "Password", m.Password, "pw"
  m.FirstName = "Kim" : Check "FirstName", m.FirstName, "Kim"
  m.LastName = "Lee" : Check "LastName", m.LastName, "Lee"
  m.SignupEmail = "kim@example.com" : Check "SignupEmail", m.SignupEmail, "kim@example.com"
  m.TimeZone = "Pacific Time" : Check "TimeZone", m.TimeZone, "Pacific Time"

  ' A Devices array written with its spare last slot, read back, and shared with the caller.
  Dim dA, dB, devs(2), a, b
  Set dA = Make("Falcrest.DeviceType") : dA.DeviceType = "HomeEmail" : dA.DeviceAddress = "kim@example.com"
  Set dB = Make("Falcrest.DeviceType") : dB.DeviceType = "SMS" : dB.DeviceAddress = "5551234"
  Set devs(0) = dA : Set devs(1) = dB
  m.Devices = devs
  a = m.Devices
  Check "Devices read: an array", IsArray(a), True
  Check "Devices read: lower bound", LBound(a), CLng(0)
  Check "Devices read: upper bound", UBound(a), CLng(2)
  Check "Devices read: slot 0 is the record given", a(0) Is dA, True
  Check "Devices read: slot 1 is the record given", a(1) Is dB, True
  Check "Devices read: slot 2 empty", IsNoRecord(a(2)), True
  Set a(0) = dB
  b = m.Devices
  Check "Devices read gives a copy of the array", b(0) Is dA, True
  dA.DeviceAddress = "changed@example.com"
  Check "Serialize(""User"") writes slots 0 and 1 of the shared records", m.Serialize("User"), _
    "<User><UserId>kim</UserId><Password>pw</Password><FirstName>Kim</FirstName><LastName>Lee</LastName>" & _
    "<SignupEmail>kim@example.com</SignupEmail><TimeZone>Pacific Time</TimeZone><Devices>" & _
    dA.Serialize("Device") & dB.Serialize("Device") & "</Devices></User>"
  m.Devices = "kim"
  ExpectError "Devices set to a text", 13, Null, Null

  Dim m2, r : Set m2 = Make("Falcrest.MemberType")
  r = m2.Deserialize("<Member><UserId>u</UserId><Password>p</Password><FirstName>f</FirstName><LastName>l</LastName>" & _
    "<SignupEmail>s</SignupEmail><TimeZone>t</TimeZone><Devices>" & dA.Serialize() & dB.Serialize() & "</Devices></Member>")
  Check "Deserialize returns Empty", IsEmpty(r), True
  Check "Deserialize: fields", m2.UserId & m2.Password & m2.FirstName & m2.LastName & m2.SignupEmail & m2.TimeZone, "upflst"
  a = m2.Devices
  Check "Deserialize: two devices and a spare slot", UBound(a), CLng(2)
  Check "Deserialize: device 0", a(0).DeviceAddress, "changed@example.com"
  Check "Deserialize: device 1", a(1).DeviceType, "SMS"
  Check "Deserialize: slot 2 empty", IsNoRecord(a(2)), True
  PendingError
End Sub

Function ContactFragment(fullName)
  ContactFragment = "<Contact><ContactId>3</ContactId><FullName>" & fullName & "</FullName><Title>T</Title>" & _
    "<FirstName>F</FirstName><MiddleName>M</MiddleName><LastName>L</LastName><AddressLine1>A1</AddressLine1>" & _
    "<AddressLine2>A2</AddressLine2><City>C</City><State>S</State><ZipCode>Z</ZipCode><Devices></Devices></Contact>"
End Function

Function EventFragment(id)
  EventFragment = "<Event><EventId>" & id & "</EventId><ExternalId>0</ExternalId><EventDateTimeString>d</EventDateTimeString>" & _
    "<Subject>s</Subject><Description></Description><RepeatOption>False</RepeatOption><RepeatEndDate>False</RepeatEndDate></Event>"
End Function

Sub ContactTypeMembers()
  On Error Resume Next
  Begin "ContactType"
  Dim c : Set c = Make("Falcrest.ContactType")
  c.ContactId = 5 : Check "ContactId", c.ContactId, CLng(5)
  c.FullName = "Kim Lee" : Check "FullName", c.FullName, "Kim Lee"
  c.Title = "Dr" : Check "Title", c.Title, "Dr"
  c.FirstName = "Kim" : Check "FirstName", c.FirstName, "Kim"
  c.MiddleName = "J" : Check "MiddleName", c.MiddleName, "J"
  c.LastName = "Lee" : Check "LastName", c.LastName, "Lee"
  c.AddressLine1 = "1 Main St" : Check "AddressLine1", c.AddressLine1, "1 Main St"
  c.AddressLine2 = "Apt 2" : Check "AddressLine2", c.AddressLine2, "Apt 2"
  c.City = "Springfield" : Check "City", c.City, "Springfield"
  c.state = "IL" : Check "state", c.state, "IL"
  c.ZipCode = "62701" : Check "ZipCode", c.ZipCode, "62701"
  Dim d, devs(1), a
  Set d = Make("Falcrest.DeviceType") : d.DeviceType = "Fax"
  Set devs(0) = d
  c.Devices = devs
  a = c.Devices
  Check "Devices read back", a(0) Is d, True
  Check "Serialize()", c.Serialize(), "<Contact><ContactId>5</ContactId><FullName>Kim Lee</FullName><Title>Dr</Title>" & _
    "<FirstName>Kim</FirstName><MiddleName>J</MiddleName><LastName>Lee</LastName><AddressLine1>1 Main St</AddressLine1>" & _
    "<AddressLine2>Apt 2</AddressLine2><City>Springfield</City><State>IL</State><ZipCode>62701</ZipCode><Devices>" & _
    d.Serialize() & "</Devices></Contact>"
  Dim r : r = c.Deserialize(ContactFragment("Ann Poe"))
  Check "Deserialize returns Empty", IsEmpty(r), True
  Check "Deserialize: fields", c.ContactId & c.FullName & c.Title & c.FirstName & c.MiddleName & c.LastName & _
    c.AddressLine1 & c.AddressLine2 & c.City & c.state, "3Ann PoeTFMLA1A2CS"
  Check "Deserialize keeps ZipCode", c.ZipCode, "62701"
  a = c.Devices
  Check "Deserialize keeps Devices without device elements", a(0) Is d, True
  PendingError
End Sub

Sub CalendarEventTypeMembers()
  On Error Resume Next
  Begin "CalendarEventType"
  Dim ev : Set ev = Make("Falcrest.CalendarEventType")
  Check "new Serialize()", ev.Serialize(), kEmptyEvent
  ev.EventId = -5 : Check "EventId", ev.EventId, CLng(-5)
  ev.ExternalId = 77 : Check "ExternalId", ev.ExternalId, CLng(77)
  ev.EventDateTime = "12/24/2026 9:00:00 AM" : Check "EventDateTime", ev.EventDateTime, "12/24/2026 9:00:00 AM"
  ev.Subject = "Fish & Chips" : Check "Subject", ev.Subject, "Fish & Chips"
  ev.Description = "Lunch" : Check "Description", ev.Description, "Lunch"
  ev.RepeatOption = "False" : Check "RepeatOption", ev.RepeatOption, "False"
  ev.RepeatEndDate = "True" : Check "RepeatEndDate", ev.RepeatEndDate, "True"
  Check "Serialize(""Event""), the subject escaped", ev.Serialize("Event"), "<Event><EventId>-5</EventId><ExternalId>77</ExternalId>" & _
    "<EventDateTimeString>12/24/2026 9:00:00 AM</EventDateTimeString><Subject>Fish &amp; Chips</Subject>" & _
    "<Description>Lunch</Description><RepeatOption>False</RepeatOption><RepeatEndDate>True</RepeatEndDate></Event>"
  Dim r : r = ev.Deserialize("<Event><EventId>abc</EventId><ExternalId>8</ExternalId><EventDateTimeString>d</EventDateTimeString>" & _
    "<Subject>Tea &lt;3</Subject><Description>e</Description><RepeatOption>True</RepeatOption><RepeatEndDate>False</RepeatEndDate></Event>")
  Check "Deserialize returns Empty", IsEmpty(r), True
  Check "Deserialize keeps EventId for ""abc""", ev.EventId, CLng(-5)
  Check "Deserialize: ExternalId", ev.ExternalId, CLng(8)
  Check "Deserialize: EventDateTime", ev.EventDateTime, "d"
  Check "Deserialize: Subject", ev.Subject, "Tea <3"
  Check "Deserialize: Description", ev.Description, "e"
  Check "Deserialize: RepeatOption", ev.RepeatOption, "True"
  Check "Deserialize: RepeatEndDate", ev.RepeatEndDate, "False"
  PendingError
End Sub

Sub ReminderTypeMembers()
  On Error Resume Next
  Begin "ReminderType"
  Dim rm : Set rm = Make("Falcrest.ReminderType")
  rm.RemindDateTime = "12/24/2026 8:45:00 AM" : Check "RemindDateTime", rm.RemindDateTime, "12/24/2026 8:45:00 AM"
  Check "new EventPropty is Nothing", rm.EventPropty Is Nothing, True
  Check "Serialize() without event and member", rm.Serialize(), _
    "<Reminder><RemindDateTime>12/24/2026 8:45:00 AM</RemindDateTime><Contacts></Contacts></Reminder>"

  Dim ev, m, c, contacts(1), a
  Set ev = Make("Falcrest.CalendarEventType") : ev.Subject = "Dentist"
  Set m = Make("Falcrest.MemberType") : m.UserId = "kim"
  Set c = Make("Falcrest.ContactType") : c.FullName = "Ann Poe"
  Set rm.EventPropty = ev
  Check "EventPropty is the record held", rm.EventPropty Is ev, True
  Set rm.User = m
  Check "User is the record held", rm.User Is m, True
  Set contacts(0) = c
  rm.Contacts = contacts
  a = rm.Contacts
  Check "Contacts read back", a(0) Is c, True
  ev.Subject = "Dentist, moved"
  Check "a change to the event shows through the reminder", rm.EventPropty.Subject, "Dentist, moved"
  Check "Serialize(""reminder"")", rm.Serialize("reminder"), "<reminder>" & ev.Serialize("Event") & _
    "<RemindDateTime>12/24/2026 8:45:00 AM</RemindDateTime>" & m.Serialize("User") & "<Contacts>" & c.Serialize() & _
    "</Contacts></reminder>"

  Dim rm2, r : Set rm2 = Make("Falcrest.ReminderType")
  r = rm2.Deserialize("<Reminder>" & EventFragment(9) & "<RemindDateTime>t</RemindDateTime>" & _
    m.Serialize("User") & "<Contacts>" & ContactFragment("A") & ContactFragment("B") & ContactFragment("C") & "</Contacts></Reminder>")
  Check "Deserialize returns Empty", IsEmpty(r), True
  Check "Deserialize: EventPropty", rm2.EventPropty.EventId, CLng(9)
  Check "Deserialize: RemindDateTime", rm2.RemindDateTime, "t"
  Check "Deserialize does not read User", rm2.User Is Nothing, True
  a = rm2.Contacts
  Check "Deserialize: three contacts and a spare slot", UBound(a), CLng(3)
  Check "Deserialize: contacts in document order", a(0).FullName & a(1).FullName & a(2).FullName, "ABC"
  Check "Deserialize: slot 3 empty", IsNoRecord(a(3)), True
  PendingError
End Sub

Sub SmallRecordMembers()
  On Error Resume Next
  Begin "CalendarEventKeyType"
  Dim k, r : Set k = Make("Falcrest.CalendarEventKeyType")
  k.UserId = "demo" : Check "UserId", k.UserId, "demo"
  k.EventDateTime = "d" : Check "EventDateTime", k.EventDateTime, "d"
  k.Subject = "s" : Check "Subject", k.Subject, "s"
  Check "Serialize()", k.Serialize(), "<EventKey><UserId>demo</UserId><EventDateTimeString>d</EventDateTimeString><Subject>s</Subject></EventKey>"
  r = k.Deserialize("<eventKey><UserId>u</UserId><EventDateTimeString>e</EventDateTimeString><Subject>t</Subject></eventKey>")
  Check "Deserialize", k.UserId & k.EventDateTime & k.Subject & VarType(r), "uet0"

  Begin "LicenseType"
  Dim l : Set l = Make("Falcrest.LicenseType")
  Check "new IsValid", l.IsValid(), False
  l.UserId = "demo" : Check "UserId", l.UserId, "demo"
  l.Password = "FE01CE2A7FBAC8FAFAED7C982A04E229" : Check "Password", l.Password, "FE01CE2A7FBAC8FAFAED7C982A04E229"
  l.ClientName = "Tovern" : Check "ClientName", l.ClientName, "Tovern"
  Check "IsValid without ClientProgramName", l.IsValid(), False
  l.ClientProgramName = "Outlook" : Check "ClientProgramName", l.ClientProgramName, "Outlook"
  Check "IsValid", l.IsValid(), True
  Check "Serialize()", l.Serialize(), "<License><UserId>demo</UserId><Password>FE01CE2A7FBAC8FAFAED7C982A04E229</Password>" & _
    "<ClientName>Tovern</ClientName><ClientProgramName>Outlook</ClientProgramName></License>"
  r = l.Deserialize("<License><UserId> 007 </UserId><Password>other</Password></License>")
  Check "Deserialize reads only UserId, as a number", l.UserId & "/" & l.Password & "/" & VarType(r), _
    "7/FE01CE2A7FBAC8FAFAED7C982A04E229/0"
  r = l.Deserialize("<License><UserId>abc</UserId></License>")
  ExpectError "Deserialize of UserId ""abc""", 13, Null, Null

  Begin "ResultType"
  Dim res : Set res = Make("Falcrest.ResultType")
  res.ErrorMessage = "e" : Check "ErrorMessage", res.ErrorMessage, "e"
  res.ReminderDetailUrl = "u" : Check "ReminderDetailUrl", res.ReminderDetailUrl, "u"
  Check "Serialize()", res.Serialize(), "<Result><ErrorMessage>e</ErrorMessage><ReminderDetailUrl>u</ReminderDetailUrl></Result>"
  r = res.Deserialize("<Result><ReminderDetailUrl>http://x/1</ReminderDetailUrl></Result>")
  Check "Deserialize sets only what is there", res.ErrorMessage & "|" & res.ReminderDetailUrl & "|" & VarType(r), "e|http://x/1|0"
  PendingError
End Sub

Sub DigestMembers()
  On Error Resume Next
  Begin "MD5HashClass"
  Dim md5, s : Set md5 = Make("Falcrest.MD5HashClass")
  s = "abc"
  Check "ComputeHash of ""abc""", md5.ComputeHash(s), "900150983CD24FB0D6963F7D28E17F72"
  Check "ComputeHash leaves its argument", s, "abc"
  Check "ComputeHash of """" (a literal)", md5.ComputeHash(""), "D41D8CD98F00B204E9800998ECF8427E"

  Begin "Base64Class"
  Dim b64, r : Set b64 = Make("Falcrest.Base64Class")
  s = "a"
  Check "Encode64 of ""a""", b64.Encode64(s), "YQ=="
  Check "Encode64 pads its argument in place", s, "a" & Chr(0) & Chr(0)
  Check "Encode64 of ""abc"" (a literal)", b64.Encode64("abc"), "YWJj"
  s = "YW" & vbCrLf & "Jj"
  Check "Decode64 across a line break", b64.Decode64(s), "abc"
  Check "Decode64 removes CR and LF from its argument", s, "YWJj"
  r = b64.Decode64("abcde")
  ExpectError "Decode64 of five characters", &H80040000, "MyDecode", "Input string is not valid Base64."
  s = ""
  r = b64.Encode64(s)
  ExpectError "Encode64 of the empty text", 9, Null, Null
  PendingError
End Sub

Sub RegistryMembers()
  On Error Resume Next
  Begin "RegistryClass"
  Const key = "Software\FalcrestAcceptance"
  Dim reg, shell, n, v, r : Set reg = Make("Falcrest.RegistryClass")
  Set shell = CreateObject("WScript.Shell")
  Check "new RootKey", reg.RootKey, CLng(0)
  Check "new KeyExist", reg.KeyExist(), False
  Check "new GetData", reg.GetData("UserID"), ""
  reg.RootKey = &H80000002 : Check "RootKey", reg.RootKey, &H80000002
  Check "RootKey names its root", reg.RootKeyName, "HKEY_LOCAL_MACHINE"
  reg.RootKeyName = "hkey_current_user" : Check "RootKeyName in lower case", reg.RootKeyName, "hkey_current_user"
  Check "RootKeyName in lower case leaves RootKey", reg.RootKey, &H80000002
  reg.RootKeyName = "HKEY_CURRENT_USER" : Check "RootKeyName sets RootKey", reg.RootKey, &H80000001
  reg.KeyName = key : Check "KeyName", reg.KeyName, key
  Check "KeyExist before any write", reg.KeyExist(), False

  n = "Count" : v = " 42 "
  r = reg.SetData(n, v)
  Check "SetData returns Empty", IsEmpty(r), True
  Check "SetData leaves its arguments", n & "|" & v, "Count| 42 "
  Check "KeyExist after a write", reg.KeyExist(), True
  Check "GetData of a number", reg.GetData(n), "42"
  Check "a number is stored as REG_DWORD", VarType(shell.RegRead("HKCU\" & key & "\Count")) = vbLong, True
  r = reg.SetData("Minus", "-1") : Check "GetData of -1", reg.GetData("Minus"), "-1"
  r = reg.SetData("Code", "0042") : Check "GetData of 0042", reg.GetData("Code"), "0042"
  Check "0042 is stored as text", VarType(shell.RegRead("HKCU\" & key & "\Code")) = vbString, True
  r = reg.SetData("Big", "4294967295") : Check "GetData of 4294967295", reg.GetData("Big"), "4294967295"
  r = reg.SetData("Note", " Fish & Chips ") : Check "GetData of a trimmed text", reg.GetData("Note"), "Fish & Chips"
  r = reg.SetData("Blank", "") : Check "GetData of the empty text", reg.GetData("Blank"), ""
  Check "GetData of a missing value", reg.GetData("Missing"), ""
  PendingError
End Sub

Sub ConstantMembers()
  On Error Resume Next
  Begin "SystemConst"
  Dim sc : Set sc = Make("Falcrest.SystemConst")
  Check "Name", sc.Name, "Tovern"
  Check "ProgramName", sc.ProgramName, "Outlook"
  sc.Name = "Other"
  ExpectError "Name cannot be set", Null, Null, Null
  Check "Name after the refused set", sc.Name, "Tovern"

  Begin "TimeZoneConst"
  Dim tz : Set tz = Make("Falcrest.TimeZoneConst")
  Check "EasternTime", tz.EasternTime, "Eastern Time"
  Check "PacificTime", tz.PacificTime, "Pacific Time"
  Check "MountainTime", tz.MountainTime, "Mountain Time"
  Check "AlaskaTime", tz.AlaskaTime, "Alaska Time"
  Check "HawaiiTime", tz.HawaiiTime, "Hawaii Time"
  Check "BeijingTime", tz.BeijingTime, "Beijing Time"

  Begin "WebService"
  Dim ws : Set ws = Make("Falcrest.WebService")
  Check "new WebServiceURL", ws.WebServiceURL, ""
  ws.WebServiceURL = "http://127.0.0.1:9/WebService/OutlookPlugin.asmx"
  Check "WebServiceURL", ws.WebServiceURL, "http://127.0.0.1:9/WebService/OutlookPlugin.asmx"
  Dim none : Set none = Nothing
  Set none = ws.GetOneMemberDevice(none, "HomeEmail")
  ExpectError "GetOneMemberDevice without a license", 91, Null, Null
  PendingError
End Sub

' One reminder's life on the service: the calls the add-in makes for a save, a change and a delete.
Sub ReminderRoundTrip(base)
  On Error Resume Next
  Begin "WebService against " & base
  Dim ws, lic, md5, sc : Set ws = Make("Falcrest.WebService")
  ws.WebServiceURL = base & "/WebService/OutlookPlugin.asmx"
  Set md5 = Make("Falcrest.MD5HashClass")
  Set sc = Make("Falcrest.SystemConst")
  Set lic = Make("Falcrest.LicenseType")
  lic.UserId = "demo" : lic.Password = md5.ComputeHash("demo")
  lic.ClientName = sc.Name : lic.ClientProgramName = sc.ProgramName

  Dim home : Set home = ws.GetOneMemberDevice(lic, "HomeEmail")
  Check "GetOneMemberDevice HomeEmail: type", home.DeviceType, "HomeEmail"
  Check "GetOneMemberDevice HomeEmail: address", home.DeviceAddress, "demo@example.com"
  Check "GetOneMemberDevice HomeEmail: an id", home.DeviceId > 0, True
  Check "GetOneMemberDevice of a device the member lacks", ws.GetOneMemberDevice(lic, "Fax") Is Nothing, True

  Dim ev, member, reminder, devices(1), res
  Set ev = Make("Falcrest.CalendarEventType")
  ev.EventDateTime = "12/24/2026 9:00:00 AM" : ev.Subject = "Acceptance: carols & cake" : ev.Description = "Bring <music>"
  Set member = Make("Falcrest.MemberType")
  member.UserId = "demo"
  Set devices(0) = home
  member.Devices = devices
  Set reminder = Make("Falcrest.ReminderType")
  Set reminder.EventPropty = ev
  Set reminder.User = member
  reminder.RemindDateTime = "12/24/2026 8:45:00 AM"
  Set res = ws.CreateReminder(lic, reminder)
  Check "CreateReminder: no error message", res.ErrorMessage, ""
  Dim prefix : prefix = base & "/Reminder.aspx?id="
  Check "CreateReminder: the reminder's page", Left(res.ReminderDetailUrl, Len(prefix)), prefix

  Dim key, id : Set key = Make("Falcrest.CalendarEventKeyType")
  key.UserId = "demo" : key.EventDateTime = ev.EventDateTime : key.Subject = ev.Subject
  id = ws.GetReminderIds(lic, key)
  ' The page's id is a token of its own, not the event id: the look-up must find an event.
  Check "CreateReminder: the page's token", Len(Mid(res.ReminderDetailUrl, Len(prefix) + 1)), CLng(32)
  Check "GetReminderIds finds the new reminder", VarType(id) = vbLong And id > 0, True

  ev.EventId = id
  ev.Subject = "Acceptance: moved"
  Check "ModifyReminderByEventId", ws.ModifyReminderByEventId(lic, reminder), ""
  Check "GetReminderIds under the old subject", ws.GetReminderIds(lic, key), CLng(-1)
  key.Subject = "Acceptance: moved"
  Check "GetReminderIds under the new subject", ws.GetReminderIds(lic, key), id

  Check "DeleteReminderByEventId", ws.DeleteReminderByEventId(lic, id), CLng(1)
  Check "DeleteReminderByEventId again", ws.DeleteReminderByEventId(lic, id), CLng(0)
  Check "GetReminderIds after the delete", ws.GetReminderIds(lic, key), CLng(-1)
  Check "ModifyReminderByEventId after the delete", ws.ModifyReminderByEventId(lic, reminder), "No reminder with event id " & id

  ' A refusal (a SOAP fault) is an empty result, not an error.
  lic.Password = md5.ComputeHash("wrong")
  Check "GetOneMemberDevice with a wrong password", ws.GetOneMemberDevice(lic, "HomeEmail") Is Nothing, True
  Check "GetReminderIds with a wrong password", ws.GetReminderIds(lic, key), CLng(-1)
  PendingError
End Sub

Dim mode : mode = ""
If WScript.Arguments.Count > 0 Then mode = WScript.Arguments(0)
If mode = "members" Then
  Begin "every class by its ProgID"
  For Each name In classNames
    Dim o : Set o = Make("Falcrest." & name)
    Check "Falcrest." & name & " created", Not (o Is Nothing), True
  Next
  DeviceTypeMembers
  MemberTypeMembers
  ContactTypeMembers
  CalendarEventTypeMembers
  ReminderTypeMembers
  SmallRecordMembers
  DigestMembers
  RegistryMembers
  ConstantMembers
ElseIf mode = "service" And WScript.Arguments.Count = 2 Then
  ReminderRoundTrip WScript.Arguments(1)
Else
  WScript.Echo "usage: cscript //nologo acceptance.vbs members | service URL"
  WScript.Quit 2
End If

WScript.Echo "END " & mode & ": " & checks & " checks, " & failures & " failed"
If failures > 0 Then WScript.Quit 1
WScript.Quit 0
