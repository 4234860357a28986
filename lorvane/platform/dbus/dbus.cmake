# Client proxies for the media-player remote-control interfaces, generated from the
# interface descriptions beside this file and built into lorvane_platform.
set(_lorvane_dbus_dir ${CMAKE_CURRENT_SOURCE_DIR}/platform/dbus)
set_source_files_properties(${_lorvane_dbus_dir}/org.mpris.MediaPlayer2.Player.xml
                            PROPERTIES CLASSNAME MprisPlayerProxy NO_NAMESPACE ON)
set_source_files_properties(${_lorvane_dbus_dir}/org.mpris.MediaPlayer2.TrackList.xml
                            PROPERTIES CLASSNAME MprisTrackListProxy NO_NAMESPACE ON)
set_source_files_properties(${_lorvane_dbus_dir}/org.freedesktop.DBus.Properties.xml
                            PROPERTIES CLASSNAME DBusPropertiesProxy NO_NAMESPACE ON)
set(_lorvane_dbus_sources)
qt_add_dbus_interface(_lorvane_dbus_sources ${_lorvane_dbus_dir}/org.mpris.MediaPlayer2.Player.xml
                      mprisplayerproxy)
qt_add_dbus_interface(_lorvane_dbus_sources
                      ${_lorvane_dbus_dir}/org.mpris.MediaPlayer2.TrackList.xml
                      mpristracklistproxy)
qt_add_dbus_interface(_lorvane_dbus_sources ${_lorvane_dbus_dir}/org.freedesktop.DBus.Properties.xml
                      dbuspropertiesproxy)
target_sources(lorvane_platform PRIVATE ${_lorvane_dbus_sources})
target_include_directories(lorvane_platform PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
