#pragma once
#include <map>
#include <string>

#include "core/control_ids.h"

namespace veltrane::testing {

// The program's control names, for FakeRuntime::SetControlNames: log lines
// then read "Veltrane.Status_Cookies: Scanning...".
inline std::map<int, std::string> ControlNames() {
  using namespace ids;
  return {
      {Label_Cookies, "Label_Cookies"}, {Status_Cookies, "Status_Cookies"},
      {Label_Cookies_Details, "Label_Cookies_Details"}, {Label_History, "Label_History"},
      {Status_History, "Status_History"}, {Label_History_Details, "Label_History_Details"},
      {Label_Cache, "Label_Cache"}, {Status_Cache, "Status_Cache"}, {Label_For, "Label_For"},
      {Label_C, "Label_C"}, {Label_ARR, "Label_ARR"}, {Label_Site, "Label_Site"},
      {Label_URL, "Label_URL"}, {Label2, "Label2"}, {Label_Wipe, "Label_Wipe"},
      {Image_Scan, "Image_Scan"}, {Command_Scan, "Command_Scan"}, {Image_Remove, "Image_Remove"},
      {Command_Remove, "Command_Remove"}, {Image_Logo, "Image_Logo"},
      {Image_Veltrane, "Image_Veltrane"}, {Image_IE, "Image_IE"}, {Line1, "Line1"},
      {Line2, "Line2"}, {Line3, "Line3"}, {Line4, "Line4"}, {Check_Wipe, "Check_Wipe"},
      {Combo_Pass, "Combo_Pass"},
      {Shape_Msg, "Shape_Msg"}, {Frame_Msg, "Frame_Msg"}, {Label_Msg, "Label_Msg"},
      {Msg_Command_Close, "Command_Close"}, {Timer_Msg, "Timer_Msg"},
      {Details_Shape1, "Shape1"}, {List_Details, "List_Details"},
      {Details_Command_Close, "Command_Close"},
  };
}

}  // namespace veltrane::testing
