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

}  // namespace veltrane::ids
