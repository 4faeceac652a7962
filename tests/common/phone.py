# The phone in the sync tests: an independent CardDAV client (python3-caldav) on the same server.
# phone.py BASE USER PASSWORD mkbook PATH | put PATH FILE | get PATH | delete PATH
import sys
from caldav.davclient import DAVClient

base, user, password, command, path = sys.argv[1:6]
client = DAVClient(base, username=user, password=password)
url = base.rstrip("/") + path
if command == "mkbook":
    body = ('<?xml version="1.0" encoding="utf-8"?><d:mkcol xmlns:d="DAV:" '
            'xmlns:c="urn:ietf:params:xml:ns:carddav"><d:set><d:prop><d:resourcetype>'
            '<d:collection/><c:addressbook/></d:resourcetype></d:prop></d:set></d:mkcol>')
    status = client.request(url, "MKCOL", body).status
elif command == "put":
    with open(sys.argv[6], "rb") as card:
        status = client.put(url, card.read(), {"Content-Type": "text/vcard"}).status
elif command == "get":
    response = client.request(url, "GET")
    status = response.status
    sys.stdout.write(response.raw if isinstance(response.raw, str) else response.raw.decode())
else:
    status = client.delete(url).status
sys.exit(0 if 200 <= status < 300 else 1)
