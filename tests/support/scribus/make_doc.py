# Makes a Scribus document from a description, inside Scribus:
#   scribus -g -ns -py make_doc.py DESCRIPTION.json
# The description (JSON) names the document to save, its page count and its
# image frames:
#   {"save": "/abs/doc.sla", "pages": 2,
#    "frames": [{"name": "cover", "page": 1, "picture": "/abs/p.jpg",
#                "scale": [0.24, 0.24], "master": false, "group": false}]}
# "page" counts from 1; with "master": true the frame goes on the master page
# "Normal"; frames with "group": true are grouped, with a rectangle, per page.
# A frame without "picture" stays empty; one with "text": true is a text
# frame instead.
import json
import sys

import scribus

description = json.load(open(sys.argv[1], encoding="utf-8"))
pages = description.get("pages", 1)
scribus.newDocument(scribus.PAPER_A4, (10, 10, 10, 10), scribus.PORTRAIT, 1,
                    scribus.UNIT_POINTS, scribus.NOFACINGPAGES, scribus.FIRSTPAGERIGHT, pages)


def image_frame(frame, x, y):
    if frame.get("text"):
        return scribus.createText(x, y, 100, 100, frame["name"])
    name = scribus.createImage(x, y, 100, 100, frame["name"])
    if "picture" in frame:
        scribus.loadImage(frame["picture"], name)
        scale = frame.get("scale", [1, 1])
        scribus.setImageScale(scale[0], scale[1], name)
    return name


masters = [f for f in description["frames"] if f.get("master")]
if masters:
    scribus.editMasterPage("Normal")
    for i, frame in enumerate(masters):
        image_frame(frame, 20 + 110 * i, 700)
    scribus.closeMasterPage()

groups = {}
for i, frame in enumerate(f for f in description["frames"] if not f.get("master")):
    scribus.gotoPage(frame.get("page", 1))
    name = image_frame(frame, 20 + 40 * i, 20 + 40 * i)
    if frame.get("group"):
        groups.setdefault(frame.get("page", 1), []).append(name)

for page, names in groups.items():
    scribus.gotoPage(page)
    names.append(scribus.createRect(400, 400, 20, 20))
    scribus.groupObjects(names)

scribus.saveDocAs(description["save"])
