#!/usr/bin/env python3
"""Show in tavrine: hands the picture of the selected image frame to tavrine.

Run it from Scribus's Script menu (tavrine's README says how to put it in
Script > Scribus Scripts and run it from the keyboard). It starts tavrine
with the picture, or, when tavrine already runs, hands the picture to the
running window. tavrine is started on its own, detached, so Scribus never
waits for it.

With several frames selected, the first image frame counts. A picture path
relative to the document is taken from the document's folder. Without a
document, a selection, an image frame or a picture, Scribus shows a message
and nothing else happens.

The program started is $TAVRINE when set, else "tavrine" on the PATH, else the
tavrine installed beside this script (PREFIX/bin for PREFIX/share/tavrine/scribus).
"""

import os
import shutil
import subprocess

import scribus

TITLE = "Show in tavrine"


class Refusal(Exception):
    """A reason to show the user instead of starting tavrine."""


def selected_image_frame():
    """The name of the first image frame among the selected items."""
    if not scribus.haveDoc():
        raise Refusal("Open a document and select an image frame first.")
    count = scribus.selectionCount()
    if count == 0:
        raise Refusal("Select an image frame first.")
    for index in range(count):
        name = scribus.getSelectedObject(index)
        if scribus.getObjectType(name) == "ImageFrame":
            return name
    raise Refusal("The selection holds no image frame. Select an image frame first.")


def picture_path(frame):
    """The absolute path of the frame's picture."""
    path = scribus.getImageFile(frame)
    if not path:
        raise Refusal('The image frame "%s" holds no picture.' % frame)
    if not os.path.isabs(path):
        document = scribus.getDocName()
        folder = os.path.dirname(document) if os.path.isabs(document) else os.getcwd()
        path = os.path.join(folder, path)
    return os.path.normpath(path)


def tavrine_program():
    """The tavrine to start, or None."""
    named = os.environ.get("TAVRINE")
    if named:
        return named
    found = shutil.which("tavrine")
    if found:
        return found
    here = os.path.dirname(os.path.abspath(globals().get("__file__", "")))
    beside = os.path.normpath(os.path.join(here, "..", "..", "..", "bin", "tavrine"))
    return beside if os.access(beside, os.X_OK) else None


def start_detached(program, path):
    """Starts `program path` in a session of its own, without waiting for it.

    setsid -f forks and returns at once, so the only child Scribus waits for
    lives a moment; tavrine itself is never Scribus's child.
    """
    quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL,
             "stderr": subprocess.DEVNULL, "close_fds": True}
    setsid = shutil.which("setsid")
    if setsid:
        subprocess.Popen([setsid, "-f", program, path], **quiet).wait(timeout=10)
    else:
        subprocess.Popen([program, path], start_new_session=True, **quiet)


def main():
    try:
        path = picture_path(selected_image_frame())
        program = tavrine_program()
        if program is None:
            raise Refusal("tavrine is not installed: no program named tavrine was found.")
        start_detached(program, path)
    except Refusal as refusal:
        scribus.messageBox(TITLE, str(refusal), scribus.ICON_WARNING, scribus.BUTTON_OK)
    except OSError as error:
        scribus.messageBox(TITLE, "tavrine could not be started: %s" % error,
                           scribus.ICON_WARNING, scribus.BUTTON_OK)


if __name__ == "__main__":
    main()
