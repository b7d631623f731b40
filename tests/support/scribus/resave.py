# Opens a document in Scribus and saves it again under another name, as
# Scribus itself writes it:
#   scribus -g -ns -py resave.py FROM.sla TO.sla
import sys

import scribus

scribus.openDoc(sys.argv[1])
scribus.saveDocAs(sys.argv[2])
