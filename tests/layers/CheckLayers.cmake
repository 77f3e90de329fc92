# The structure of the sources, checked on every test run:
#  1. The engine's folders include only downward: base, then data (file
#     formats), then workspace (folders, catalog, settings), then the
#     etymology database, then engine (rules and TCC). Nothing in them
#     includes a window, speech or tool header.
#  2. No source file defines methods of a class declared in another folder.
#  3. Every folder includes only itself and the folders before it in one
#     order: only app/ includes app/, and no two folders include each
#     other, however indirectly.
# Run as: cmake -DROOT=<source folder> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

set(LAYERS base data workspace etymology/db engine)
set(OTHER_FOLDERS app widgets speech etymology progress drill files updates help tools tray workspace/ui net)

set(problems "")

# The headers the files of a folder include from other folders, as
# "file|header|header's folder" entries (a header beside the file, or of the
# file's own folder, is left out).
function(includes_from_other_folders folder result)
  set(entries "")
  file(GLOB files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    file(RELATIVE_PATH shown "${ROOT}" "${file}")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" target "${line}")
      string(REGEX REPLACE "/[^/]+$" "" targetFolder "${target}")
      if(NOT targetFolder STREQUAL target AND NOT targetFolder STREQUAL folder)
        list(APPEND entries "${shown}|${target}|${targetFolder}")
      endif()
    endforeach()
  endforeach()
  set(${result} "${entries}" PARENT_SCOPE)
endfunction()

# Every include from another folder goes to a folder earlier in the order.
# kind "layer": the engine's layers, whose files include nothing outside
# them; kind "folder": every folder, where only app/ includes app/ and
# headers outside the order (generated, outside libraries) are left alone.
function(check_include_order kind)
  set(order ${ARGN})
  set(found "")
  list(LENGTH order count)
  math(EXPR last "${count} - 1")
  foreach(index RANGE ${last})
    list(GET order ${index} folder)
    includes_from_other_folders("${folder}" entries)
    foreach(entry IN LISTS entries)
      string(REPLACE "|" ";" parts "${entry}")
      list(GET parts 0 shown)
      list(GET parts 1 target)
      list(GET parts 2 targetFolder)
      list(FIND order "${targetFolder}" targetIndex)
      if(targetIndex EQUAL -1)
        if(kind STREQUAL "layer")
          string(APPEND found "${shown}: includes ${target}, outside the engine's layers\n")
        endif()
      elseif(kind STREQUAL "folder" AND targetFolder STREQUAL "app")
        string(APPEND found "${shown}: includes ${target}; only app/ includes app/ (shared window helpers live in widgets/)\n")
      elseif(targetIndex GREATER index AND kind STREQUAL "layer")
        string(APPEND found "${shown}: includes ${target}, a layer above ${folder}\n")
      elseif(targetIndex GREATER index)
        string(APPEND found "${shown}: includes ${target}, a folder after ${folder}: folders would include each other\n")
      endif()
    endforeach()
  endforeach()
  set(problems "${problems}${found}" PARENT_SCOPE)
endfunction()

# ---- 1. includes go downward only ----
check_include_order(layer ${LAYERS})

# ---- 2. methods are defined in the folder of their class ----
set(allFolders ${LAYERS} ${OTHER_FOLDERS})
set(classNames "")
foreach(folder IN LISTS allFolders)
  file(GLOB headers "${ROOT}/${folder}/*.h")
  foreach(header IN LISTS headers)
    file(STRINGS "${header}" declarations REGEX "^(class|struct)[ \t]+T[A-Za-z0-9_]+[^;]*$")
    foreach(line IN LISTS declarations)
      string(REGEX REPLACE "^(class|struct)[ \t]+(T[A-Za-z0-9_]+).*$" "\\2" name "${line}")
      set(folderOf_${name} "${folder}")
      list(APPEND classNames ${name})
    endforeach()
  endforeach()
endforeach()
foreach(folder IN LISTS allFolders)
  file(GLOB sources "${ROOT}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH shown "${ROOT}" "${source}")
    file(STRINGS "${source}" definitions REGEX "^[A-Za-z].*[ \t*&](T[A-Za-z0-9_]+)::~?[A-Za-z0-9_]+\\(")
    list(APPEND definitions "")
    foreach(line IN LISTS definitions)
      if(line STREQUAL "")
        continue()
      endif()
      string(REGEX MATCH "(T[A-Za-z0-9_]+)::~?[A-Za-z0-9_]+\\(" match "${line}")
      string(REGEX REPLACE "::.*$" "" name "${match}")
      if(DEFINED folderOf_${name} AND NOT folderOf_${name} STREQUAL folder)
        string(APPEND problems "${shown}: defines ${match}...) of ${name}, declared in ${folderOf_${name}}/\n")
      endif()
    endforeach()
  endforeach()
endforeach()

# ---- 3. every folder includes only itself and the folders before it ----
# The program's folders from the bottom up. A file includes headers of its
# own folder and of folders earlier in this list, never of a later one: no
# window folder reaches into app/ (the program entry and the main window),
# and no two folders include each other, however indirectly.
set(FOLDER_ORDER
  base data workspace etymology/db engine net speech widgets
  workspace/ui etymology progress drill files updates help
  tools/art tray tools app)
check_include_order(folder ${FOLDER_ORDER})

if(problems)
  message(FATAL_ERROR "Layering problems:\n${problems}")
endif()
message(STATUS "Layers include downward only; every method is defined in its class's folder; folders include each other in one order, and only app/ includes app/.")
