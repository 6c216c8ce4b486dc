# Writes the pages into the site folder with their linked style sheets inlined (each page is one resource),
# and the resource script that carries pages and images under the names the program looks up:
# a page's stem in upper case (an all-digit stem is an integer id) as RT_HTML (23), an image's stem as "PNG".
#   cmake -DSOURCE_DIR= -DSITE_DIR= -DPAGES= -DIMAGES= -DRESOURCE_SCRIPT= -P generate_pages.cmake

function(resource_name path out)
    get_filename_component(stem ${path} NAME_WE)
    if(NOT stem MATCHES "^[A-Za-z0-9_-]+$")
        message(FATAL_ERROR "${path}: a resource name takes letters, digits, '_' and '-' only")
    endif()
    string(TOUPPER ${stem} name)
    set(${out} ${name} PARENT_SCOPE)
endfunction()

set(script "// Generated from ui/pages by generate_pages.cmake; do not edit.\n")
foreach(page ${PAGES})
    file(READ ${page} html)
    string(REGEX MATCHALL "<link[^>]*href=\"[^\"]+\\.css\"[^>]*>" links "${html}")
    foreach(link ${links})
        string(REGEX REPLACE ".*href=\"([^\"]+)\".*" "\\1" sheet "${link}")
        file(READ ${SOURCE_DIR}/${sheet} css)
        string(REPLACE "${link}" "<style>\n${css}</style>" html "${html}")
    endforeach()
    get_filename_component(file_name ${page} NAME)
    file(WRITE ${SITE_DIR}/${file_name} "${html}")
    resource_name(${page} name)
    string(APPEND script "${name} 23 \"${SITE_DIR}/${file_name}\"\n")
endforeach()
foreach(image ${IMAGES})
    resource_name(${image} name)
    string(APPEND script "${name} PNG \"${image}\"\n")
endforeach()
file(WRITE ${RESOURCE_SCRIPT} "${script}")
