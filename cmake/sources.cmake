# Every source of src/, one list per folder, paths from the project's root.
# A .cpp under src/ that no list holds stops the configure.

# The program's modules: they see only the platform interfaces.
set(APP_SOURCES
  src/app/app_context.cpp
  src/app/form_main.cpp
  src/app/form_main_design.cpp
  src/app/program.cpp
  src/app/web_link.cpp
  src/app/wipe_settings.cpp)
set(ERASE_SOURCES
  src/erase/erase_file.cpp
  src/erase/removal.cpp)
set(REGISTRY_SOURCES
  src/registry/module_registry.cpp)
set(SCAN_SOURCES
  src/scan/folder_path.cpp
  src/scan/folder_walk.cpp
  src/scan/trace_scan.cpp)
set(WINDOWS_SOURCES
  src/windows/cookie_reader.cpp
  src/windows/form_details.cpp
  src/windows/form_details_design.cpp
  src/windows/form_msg.cpp
  src/windows/form_msg_design.cpp)

# In-memory twins of the platform, for the tests (native and under Wine).
set(FAKE_SOURCES
  src/platform/fake/fake_desktop.cpp
  src/platform/fake/fake_files.cpp
  src/platform/fake/fake_registry.cpp
  src/platform/fake/fake_runtime.cpp)

# The real platform layer (cross build only).
set(WIN32_SOURCES
  src/platform/win32/art_library.cpp
  src/platform/win32/exact_path.cpp
  src/platform/win32/font_cache.cpp
  src/platform/win32/font_choice.cpp
  src/platform/win32/item_list.cpp
  src/platform/win32/label_window.cpp
  src/platform/win32/link_check.cpp
  src/platform/win32/link_choice.cpp
  src/platform/win32/nt_file.cpp
  src/platform/win32/opened_file.cpp
  src/platform/win32/system_library.cpp
  src/platform/win32/utf.cpp
  src/platform/win32/version_resource.cpp
  src/platform/win32/win32_desktop.cpp
  src/platform/win32/win32_erase_scope.cpp
  src/platform/win32/win32_files.cpp
  src/platform/win32/win32_form.cpp
  src/platform/win32/win32_form_messages.cpp
  src/platform/win32/win32_form_paint.cpp
  src/platform/win32/win32_launcher.cpp
  src/platform/win32/win32_registry.cpp
  src/platform/win32/win32_runtime.cpp
  src/platform/win32/win32_wipe_target.cpp)

# veltrane.exe's entry point, which starts app/ (resources/CMakeLists.txt).
set(ENTRY_SOURCES
  src/platform/win32/entry/winmain.cpp)

include(${CMAKE_CURRENT_LIST_DIR}/listed_sources.cmake)
veltrane_check_listed(${CMAKE_SOURCE_DIR} src ${APP_SOURCES} ${ERASE_SOURCES} ${REGISTRY_SOURCES} ${SCAN_SOURCES}
  ${WINDOWS_SOURCES} ${FAKE_SOURCES} ${WIN32_SOURCES} ${ENTRY_SOURCES})
foreach(list APP ERASE REGISTRY SCAN WINDOWS FAKE WIN32 ENTRY)
  list(TRANSFORM ${list}_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
endforeach()
