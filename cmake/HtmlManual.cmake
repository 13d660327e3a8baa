# Writes the README as a page of HTML, for the Windows zip:
#   cmake -DCMARK=cmark-gfm -DREADME=README.md -DOUT=manual.html -P HtmlManual.cmake
execute_process(COMMAND ${CMARK} --extension table ${README}
                OUTPUT_VARIABLE body COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${OUT} "<!DOCTYPE html>
<html lang=\"en\">
<head><meta charset=\"utf-8\"><title>Zembrax</title></head>
<body>
${body}</body>
</html>
")
