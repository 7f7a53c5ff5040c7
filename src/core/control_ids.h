#pragma once

// Control ids of the program's windows. They are the child-window ids of the
// real controls too, so the end-to-end harness finds them by id from outside.
namespace veltrane::ids {

enum Main : int {
  Label_Cookies = 101,
  Status_Cookies,
  Label_Cookies_Details,
  Label_History,
  Status_History,
  Label_History_Details,
  Label_Cache,
  Status_Cache,
  Label_For,
  Label_C,
  Label_ARR,
  Label_Site,
  Label_URL,
  Label2,
  Label_Wipe,
  Image_Scan,
  Command_Scan,
  Image_Remove,
  Command_Remove,
  Image_Logo,
  Image_Veltrane,
  Image_IE,
  Line1,
  Line2,
  Line3,
  Line4,
  Check_Wipe,
  Combo_Pass,
};

enum Msg : int {
  Shape_Msg = 201,
  Frame_Msg,
  Label_Msg,
  Msg_Command_Close,  // "OK!"
  Timer_Msg,
};

enum Details : int {
  Details_Shape1 = 301,
  List_Details,
  Details_Command_Close,  // "CLOSE"
};

// Every control with the name it has in its window's design: log lines and
// reports name a control by this. The Close buttons of the message and the
// details windows are both "Command_Close" there.
struct ControlName {
  int id;
  const char* name;
};

inline constexpr ControlName kControlNames[] = {
    {Label_Cookies, "Label_Cookies"},
    {Status_Cookies, "Status_Cookies"},
    {Label_Cookies_Details, "Label_Cookies_Details"},
    {Label_History, "Label_History"},
    {Status_History, "Status_History"},
    {Label_History_Details, "Label_History_Details"},
    {Label_Cache, "Label_Cache"},
    {Status_Cache, "Status_Cache"},
    {Label_For, "Label_For"},
    {Label_C, "Label_C"},
    {Label_ARR, "Label_ARR"},
    {Label_Site, "Label_Site"},
    {Label_URL, "Label_URL"},
    {Label2, "Label2"},
    {Label_Wipe, "Label_Wipe"},
    {Image_Scan, "Image_Scan"},
    {Command_Scan, "Command_Scan"},
    {Image_Remove, "Image_Remove"},
    {Command_Remove, "Command_Remove"},
    {Image_Logo, "Image_Logo"},
    {Image_Veltrane, "Image_Veltrane"},
    {Image_IE, "Image_IE"},
    {Line1, "Line1"},
    {Line2, "Line2"},
    {Line3, "Line3"},
    {Line4, "Line4"},
    {Check_Wipe, "Check_Wipe"},
    {Combo_Pass, "Combo_Pass"},
    {Shape_Msg, "Shape_Msg"},
    {Frame_Msg, "Frame_Msg"},
    {Label_Msg, "Label_Msg"},
    {Msg_Command_Close, "Command_Close"},
    {Timer_Msg, "Timer_Msg"},
    {Details_Shape1, "Shape1"},
    {List_Details, "List_Details"},
    {Details_Command_Close, "Command_Close"},
};

// The control's name, or "" for an id no window has.
constexpr const char* NameOf(int id) {
  for (const ControlName& control : kControlNames)
    if (control.id == id) return control.name;
  return "";
}

}  // namespace veltrane::ids
