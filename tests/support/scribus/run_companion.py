# Runs a companion script inside Scribus on a document, with frames selected:
#   scribus -g -ns -py run_companion.py DOCUMENT.sla COMPANION.py MESSAGES [FRAME...]
# Scribus's message box is modal and nobody answers it in a test, so it is
# replaced by one that appends each message, a line each, to MESSAGES.
import runpy
import sys

import scribus

document, companion, messages = sys.argv[1:4]
scribus.openDoc(document)
scribus.deselectAll()
for frame in sys.argv[4:]:
    scribus.selectObject(frame)


def record(caption, message, *buttons):
    with open(messages, "a", encoding="utf-8") as out:
        out.write("%s: %s\n" % (caption, message))
    return scribus.BUTTON_OK


scribus.messageBox = record
runpy.run_path(companion, run_name="__main__")
