# Player control: the player remote against a private session bus with a small
# player program of our own, the volume against a private sound server, the
# playlists and the strip widgets.
add_executable(fake_mpris_service fakes/fake_mpris_service.cpp)
target_link_libraries(fake_mpris_service PRIVATE Qt6::Core Qt6::DBus)
set(PLAYER_FAKE_ENV "PLAYER_FAKE_MPRIS=$<TARGET_FILE:fake_mpris_service>")

lorvane_test(NAME tst_player_waipc LAYER platform SOURCES tst_player_waipc.cpp FIXTURES dbus ENV ${PLAYER_FAKE_ENV})
add_dependencies(tst_player_waipc fake_mpris_service)

lorvane_test(NAME tst_platform_volume LAYER platform SOURCES tst_platform_volume.cpp LIBS PkgConfig::PULSE FIXTURES pulse)

lorvane_test(NAME tst_ui_playerstrip LAYER ui
             SOURCES tst_ui_playerstrip.cpp support/PipeWirePulse.cpp support/PipeWirePulse.h
             FIXTURES dbus pulse ENV ${PLAYER_FAKE_ENV})
add_dependencies(tst_ui_playerstrip fake_mpris_service)

lorvane_test(NAME tst_ui_playlist LAYER ui SOURCES tst_ui_playlist.cpp FIXTURES dbus ENV ${PLAYER_FAKE_ENV})
add_dependencies(tst_ui_playlist fake_mpris_service)

# The desktop's real players (VLC, mpv) on a bus of their own; skipped where they are
# not installed.
lorvane_test(NAME tst_player_realplayers LAYER platform
             SOURCES tst_player_realplayers.cpp support/RealPlayers.cpp support/RealPlayers.h)
add_dependencies(tst_player_realplayers lorvane-probe)

# The players on the shared bus and the volume of the shared sound server are seen by
# every test that uses them, so those tests take turns.
set_property(TEST tst_player_waipc tst_ui_playerstrip tst_ui_playlist APPEND PROPERTY RESOURCE_LOCK lorvane_players)
set_property(TEST tst_platform_volume tst_ui_playerstrip APPEND PROPERTY RESOURCE_LOCK lorvane_sink)
