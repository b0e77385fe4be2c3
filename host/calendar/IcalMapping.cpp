#include "host/calendar/IcalMapping.h"

#include <libical/ical.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <random>

#include "library/support/Error.h"

namespace host::calendar {
namespace {

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

[[noreturn]] void RaiseNotCalendar(const std::string& why) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x110, "reminder-host",
                        "The calendar is not a usable iCalendar file: " + why);
}

std::string Text(const char* s) { return s ? s : ""; }

std::string AsText(icalcomponent* c) {
  char* text = icalcomponent_as_ical_string_r(c);
  std::string out = Text(text);
  icalmemory_free_buffer(text);
  return out;
}

falcrest::LocalDateTime WallTime(const icaltimetype& t) {
  falcrest::LocalDateTime out;
  if (icaltime_is_utc(t) && !t.is_date) {
    time_t seconds = icaltime_as_timet(t);
    std::tm local{};
    localtime_r(&seconds, &local);
    out = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    return out;
  }
  out.year = t.year;
  out.month = t.month;
  out.day = t.day;
  if (!t.is_date) {
    out.hour = t.hour;
    out.minute = t.minute;
    out.second = t.second;
  }
  return out;
}

int64_t MinutesBetween(const falcrest::LocalDateTime& from, const falcrest::LocalDateTime& to) {
  double days = falcrest::ToOleDate(to) - falcrest::ToOleDate(from);
  return static_cast<int64_t>(days * 1440.0 + (days >= 0 ? 0.5 : -0.5));
}

// Minutes before the start of a display alarm relative to the start, or -1 for any other.
int64_t DisplayAlarmMinutes(icalcomponent* alarm) {
  icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
  icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
  if (!action || !trigger || icalproperty_get_action(action) != ICAL_ACTION_DISPLAY) return -1;
  icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
  if (related && icalparameter_get_related(related) == ICAL_RELATED_END) return -1;
  icaltriggertype value = icalproperty_get_trigger(trigger);
  if (!icaltime_is_null_time(value.time)) return -1;  // an absolute time is not "before start"
  int seconds = icaldurationtype_as_int(value.duration);
  if (seconds > 0) return -1;
  return -static_cast<int64_t>(seconds) / 60;
}

bool IsDeletedMarker(icalproperty* p) {
  return icalproperty_isa(p) == ICAL_X_PROPERTY && Text(icalproperty_get_x_name(p)) == kFolderProperty;
}

StoredAppointment ReadEvent(icalcomponent* event) {
  StoredAppointment out;
  AppointmentFields& f = out.fields;
  out.uid = Text(icalcomponent_get_uid(event));
  f.subject = Text(icalcomponent_get_summary(event));
  f.location = Text(icalcomponent_get_location(event));
  f.body = Text(icalcomponent_get_description(event));

  bool allDay = false;
  if (icalproperty* p = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY)) {
    icaltimetype start = icalproperty_get_dtstart(p);
    allDay = start.is_date;
    f.start = WallTime(start);
  }
  if (icalproperty* p = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
    f.durationMinutes = MinutesBetween(f.start, WallTime(icalproperty_get_dtend(p)));
  } else if (icalproperty* d = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
    f.durationMinutes = icaldurationtype_as_int(icalproperty_get_duration(d)) / 60;
  } else if (allDay) {
    f.durationMinutes = 1440;
  }
  if (f.durationMinutes < 0) f.durationMinutes = 0;

  f.reminderSet = false;
  for (icalcomponent* a = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT); a;
       a = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
    int64_t minutes = DisplayAlarmMinutes(a);
    if (minutes >= 0) {
      f.reminderSet = true;
      f.reminderMinutesBeforeStart = static_cast<int32_t>(minutes);
      break;
    }
  }
  for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
       p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
    if (IsDeletedMarker(p)) out.deleted = Text(icalproperty_get_x(p)) == kDeletedItemsMarker;
  }
  out.source = AsText(event);
  return out;
}

void RemoveAll(icalcomponent* c, icalproperty_kind kind) {
  while (icalproperty* p = icalcomponent_get_first_property(c, kind)) {
    icalcomponent_remove_property(c, p);
    icalproperty_free(p);
  }
}

icaltimetype IcalTime(const falcrest::LocalDateTime& t, bool asDate) {
  icaltimetype out = icaltime_null_time();
  out.year = t.year;
  out.month = t.month;
  out.day = t.day;
  out.hour = t.hour;
  out.minute = t.minute;
  out.second = t.second;
  out.is_date = asDate ? 1 : 0;
  return out;
}

// Adds a date-time property, keeping the TZID the event had: its wall time is what we edit.
void AddTime(icalcomponent* event, icalproperty* p, const std::string& tzid) {
  if (!tzid.empty()) icalproperty_add_parameter(p, icalparameter_new_tzid(tzid.c_str()));
  icalcomponent_add_property(event, p);
}

ComponentPtr BuildEvent(const StoredAppointment& a) {
  ComponentPtr event;
  if (!a.source.empty()) event.reset(icalcomponent_new_from_string(a.source.c_str()));
  std::string tzid;
  bool wasDate = false;
  if (event) {
    if (icalproperty* p = icalcomponent_get_first_property(event.get(), ICAL_DTSTART_PROPERTY)) {
      icaltimetype start = icalproperty_get_dtstart(p);
      wasDate = start.is_date;
      if (icalparameter* z = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER)) {
        tzid = Text(icalparameter_get_tzid(z));
      }
    }
  } else {
    event.reset(icalcomponent_new_vevent());
    icalcomponent_add_property(event.get(), icalproperty_new_dtstamp(icaltime_current_time_with_zone(
                                                icaltimezone_get_utc_timezone())));
  }
  icalcomponent* e = event.get();
  for (icalproperty_kind kind : {ICAL_UID_PROPERTY, ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY,
                                 ICAL_DURATION_PROPERTY, ICAL_SUMMARY_PROPERTY, ICAL_LOCATION_PROPERTY,
                                 ICAL_DESCRIPTION_PROPERTY}) {
    RemoveAll(e, kind);
  }
  for (icalproperty* p = icalcomponent_get_first_property(e, ICAL_X_PROPERTY); p;) {
    icalproperty* next = icalcomponent_get_next_property(e, ICAL_X_PROPERTY);
    if (IsDeletedMarker(p)) {
      icalcomponent_remove_property(e, p);
      icalproperty_free(p);
    }
    p = next;
  }
  for (icalcomponent* alarm = icalcomponent_get_first_component(e, ICAL_VALARM_COMPONENT); alarm;) {
    icalcomponent* next = icalcomponent_get_next_component(e, ICAL_VALARM_COMPONENT);
    if (DisplayAlarmMinutes(alarm) >= 0) {
      icalcomponent_remove_component(e, alarm);
      icalcomponent_free(alarm);
    }
    alarm = next;
  }

  const AppointmentFields& f = a.fields;
  const bool midnight = f.start.hour == 0 && f.start.minute == 0 && f.start.second == 0;
  const bool asDate = wasDate && midnight && f.durationMinutes > 0 && f.durationMinutes % 1440 == 0;
  icalcomponent_add_property(e, icalproperty_new_uid(a.uid.empty() ? NewUid().c_str() : a.uid.c_str()));
  AddTime(e, icalproperty_new_dtstart(IcalTime(f.start, asDate)), tzid);
  AddTime(e, icalproperty_new_dtend(IcalTime(falcrest::AddMinutes(f.start, f.durationMinutes), asDate)), tzid);
  icalcomponent_add_property(e, icalproperty_new_summary(f.subject.c_str()));
  if (!f.location.empty()) icalcomponent_add_property(e, icalproperty_new_location(f.location.c_str()));
  if (!f.body.empty()) icalcomponent_add_property(e, icalproperty_new_description(f.body.c_str()));
  if (a.deleted) {
    icalproperty* marker = icalproperty_new_x(kDeletedItemsMarker);
    icalproperty_set_x_name(marker, kFolderProperty);
    icalcomponent_add_property(e, marker);
  }
  if (f.reminderSet) {
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-f.reminderMinutesBeforeStart * 60);
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_property(alarm, icalproperty_new_description("Reminder"));
    icalcomponent_add_component(e, alarm);
  }
  return event;
}

}  // namespace

CalendarData ParseCalendar(const std::string& text) {
  CalendarData data;
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return data;
  ComponentPtr root(icalparser_parse_string(text.c_str()));
  if (!root) RaiseNotCalendar("no BEGIN:VCALENDAR found");
  icalcomponent_kind kind = icalcomponent_isa(root.get());
  if (kind == ICAL_VEVENT_COMPONENT) {
    data.appointments.push_back(ReadEvent(root.get()));
    return data;
  }
  if (kind != ICAL_VCALENDAR_COMPONENT) RaiseNotCalendar("no BEGIN:VCALENDAR found");
  for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT); c;
       c = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT)) {
    if (icalcomponent_isa(c) == ICAL_VEVENT_COMPONENT) {
      data.appointments.push_back(ReadEvent(c));
    } else {
      data.otherComponents.push_back(AsText(c));
    }
  }
  return data;
}

std::string WriteCalendar(const CalendarData& data) {
  ComponentPtr calendar(icalcomponent_new_vcalendar());
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Tarvanel//reminder-host//EN"));
  for (const std::string& other : data.otherComponents) {
    if (icalcomponent* c = icalcomponent_new_from_string(other.c_str())) icalcomponent_add_component(calendar.get(), c);
  }
  for (const StoredAppointment& a : data.appointments) {
    icalcomponent_add_component(calendar.get(), BuildEvent(a).release());
  }
  return AsText(calendar.get());
}

std::string NewUid() {
  static std::mt19937_64 generator{std::random_device{}()};
  char text[64];
  std::snprintf(text, sizeof text, "%016llx-%lld@reminder-host",
                static_cast<unsigned long long>(generator()), static_cast<long long>(std::time(nullptr)));
  return text;
}

}  // namespace host::calendar
