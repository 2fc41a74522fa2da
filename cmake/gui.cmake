# The GUI program: our framework over Win32, the main window, the application shell and the
# widgets, the resources, corvane.exe and the GUI tests under Wine.
enable_language(RC)

add_library(corvane_framework STATIC
  framework/cmd_target.cpp
  framework/cmd_ui.cpp
  framework/data_exchange.cpp
  framework/dialog.cpp
  framework/doc_template.cpp
  framework/form_view.cpp
  framework/frame_wnd.cpp
  framework/list_ctrl.cpp
  framework/splitter_wnd.cpp
  framework/status_bar.cpp
  framework/tool_bar.cpp
  framework/tree_ctrl.cpp
  framework/view.cpp
  framework/win_app.cpp
  framework/wnd.cpp
)
target_include_directories(corvane_framework PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(corvane_framework PUBLIC comctl32 comdlg32 gdi32 user32 shell32 ole32)

add_library(corvane_gui STATIC
  mainwindow/splitter_frame.cpp
  mainwindow/object_tree.cpp
  mainwindow/object_commands.cpp
  mainwindow/object_list_ctrl.cpp
  mainwindow/progress_wnd.cpp
  mainwindow/bulk_removal_dlg.cpp
  mainwindow/removal_progress_wnd.cpp
  mainwindow/bulk_removal.cpp
  mainwindow/plenor_view.cpp
  mainwindow/tab_view.cpp
  mainwindow/clipboard.cpp
  mainwindow/layout_hold.cpp
  mainwindow/pane_layout.cpp
  mainwindow/list_view_ex.cpp
  mainwindow/attribute_list_ctrl.cpp
  mainwindow/registry_page.cpp
  mainwindow/edit_value_dlg.cpp
  mainwindow/key_tree_ctrl.cpp
  mainwindow/dependency_page.cpp
  mainwindow/type_lib_page.cpp
  mainwindow/dependency_tree_ctrl.cpp
  mainwindow/attribute_rows_list.cpp
  mainwindow/masked_image_list.cpp
  mainwindow/com_file_details_dlg.cpp
  tools/compare_files_dlg.cpp
  tools/file_comparison.cpp
  tools/report_file.cpp
  tools/missing_dependencies_dlg.cpp
  tools/restore_backups_dlg.cpp
  tools/inventory_report_dlg.cpp
  widgets/ox_static.cpp
  widgets/hyper_link.cpp
  widgets/tool_tip.cpp
  app/about_dlg.cpp
  app/plenor_app.cpp
  app/shell_tools.cpp
  app/launcher.cpp
  app/registry_editor.cpp
  app/options_dlg.cpp
  app/message_dlg.cpp
  app/unregistered_dlg.cpp
  app/gui_notice.cpp
  app/gui_platform.cpp
  app/shell_integration.cpp
  update/version_info.cpp
  update/wininet_api.cpp
  update/news_dlg.cpp
  update/web_update_dlg.cpp
  widgets/dialog_layout.cpp
  mainwindow/computer_commands.cpp
  tools/gui_network.cpp
  tools/computer_images.cpp
  tools/computers_dlg.cpp
  tools/compare_computers_dlg.cpp
  tools/compare_results_dlg.cpp
  tools/results_list_ctrl.cpp
)
target_link_libraries(corvane_gui PUBLIC corvane_framework corvane_win32)

# Resources are linked into each program that shows windows, so that templates load from the
# program's own module.
set(CORVANE_RESOURCES ${CMAKE_SOURCE_DIR}/resources/corvane.rc ${CORVANE_CODE_PAGE_RC})
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/corvane.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_BINARY_DIR}/corvane_version.h")
target_include_directories(corvane_gui PUBLIC ${CMAKE_SOURCE_DIR})

add_executable(corvane WIN32 app/corvane_main.cpp ${CORVANE_RESOURCES})
target_link_libraries(corvane PRIVATE corvane_gui)
# The reports' HTML pages show the logo from the folder the program runs in.
add_custom_command(TARGET corvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/vantic.gif
          $<TARGET_FILE_DIR:corvane>/vantic.gif)

# The comparison's timing, with the results dialog filling thousands of rows.
add_executable(corvane_comparison_timing bench/comparison_timing.cpp ${CORVANE_RESOURCES})
target_link_libraries(corvane_comparison_timing PRIVATE corvane_gui corvane_memory)

add_subdirectory(tests/gui)
add_subdirectory(tests/e2e)
add_subdirectory(tests/installer)
